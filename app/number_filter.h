#pragma once
// The keystroke filter of number-input boxes: typed printable characters
// other than 0-9, "-" and "." are dropped; control characters (backspace,
// the clipboard shortcuts) pass, so a paste still brings any text.

#include <QObject>

namespace tallaro {

class NumberInputFilter final : public QObject {
public:
    using QObject::QObject;

    static bool allowed(QChar c);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tallaro
