#pragma once
// Run-time pieces the two controls share: how a refused property value is
// kept and reported, pointer shapes, the MouseIcon picture and the tooltip
// box.

#include <QAccessible>
#include <QCursor>
#include <QIcon>
#include <QString>
#include <QVariant>
#include <functional>

class QLabel;
class QWidget;

namespace vx::common {

// A refused value leaves the property as it was; the refusal is remembered
// and reported to the container with its error number and message.
class Refusals {
public:
    using Report = std::function<void(int number, const QString& message)>;
    Refusals(Report report, std::function<void()> changed)
        : report_(std::move(report))
        , changed_(std::move(changed)) {}

    bool refuse(int number, const QString& message); // always false
    int number() const { return number_; }
    QString message() const { return message_; }

    // A whole number in lo..hi, or a Boolean (the words True and False only
    // where `words` says so); an accepted value is stored and the control
    // told that it changed.
    bool takeInt(const QVariant& v, int lo, int hi, const QString& message, int& member,
                 std::initializer_list<int> alsoAccepted = {});
    bool takeBool(const QVariant& v, bool words, const QString& message, bool& member);

private:
    Report report_;
    std::function<void()> changed_;
    int number_ = 0;
    QString message_;
};

enum { ErrInvalidProperty = 380, ErrInvalidPicture = 481 };

// The sixteen standard pointers 0 to 15 in the old order (0 leaves the
// choice to the container and shows as the arrow).
Qt::CursorShape standardPointer(int pointer);

// The contents of a picture given as bytes or as the path of its file;
// false for another kind of value or a file that cannot be read.
bool pictureBytes(const QVariant& v, QByteArray* bytes);

// The picture of a MouseIcon: an icon, or the bytes or the path of an icon
// or cursor file. An empty value clears it; anything else is refused.
bool loadIcon(const QVariant& v, QIcon* out);

// Registers a control's accessibility interface with the toolkit, once.
void installAccessibleFactory(QAccessible::InterfaceFactory factory);

// The tooltip box of both controls, shown 10 pixels right of and 18 below
// the pointer and kept on the screen; the caller owns it.
QLabel* showTipBox(const QString& text, const QString& objectName, const QWidget* over);

} // namespace vx::common
