#include "app/number_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tallaro {

namespace {

QString keep_allowed(const QString& text) {
    QString kept;
    for (QChar c : text) {
        if (NumberInputFilter::allowed(c)) kept.append(c);
    }
    return kept;
}

}  // namespace

bool NumberInputFilter::allowed(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || u == 0x7F || (u >= '0' && u <= '9') || u == '-' || u == '.';
}

bool NumberInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) return false;
        const QString kept = keep_allowed(text);
        if (kept == text) return false;
        if (!kept.isEmpty()) {
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) edit->insert(kept);
        }
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        auto* im = static_cast<QInputMethodEvent*>(event);
        const QString kept = keep_allowed(im->commitString());
        if (kept != im->commitString()) {
            im->setCommitString(kept, im->replacementStart(), im->replacementLength());
        }
    }
    return false;
}

}  // namespace tallaro
