#pragma once
// Reports framed as each adapter model sends them, for the line tools and
// the tests that stand in for a real adapter.

#include <QByteArray>
#include <QString>

namespace callerid {

enum class Caller { Number, Withheld, PublicPhone };

// Empty for a model the desk does not know.
QByteArray frameReport(const QString& model, Caller caller, const QString& number = {});

} // namespace callerid
