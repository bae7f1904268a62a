#pragma once

#include <QtCore/qglobal.h>

#if defined(VXCMD32_LIBRARY)
#define VXCMD_EXPORT Q_DECL_EXPORT
#else
#define VXCMD_EXPORT Q_DECL_IMPORT
#endif
