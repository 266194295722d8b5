#include "app/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <vector>

#include "app/gbk_qt.h"
#include "app/number_filter.h"
#include "app/x11.h"
#include "core/gbk.h"

namespace tallaro {

namespace {

QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A plain push button: never a default button, and the arrow keys do not
// move the focus to its neighbours.
class FormButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            e->ignore();
            return;
        default:
            QPushButton::keyPressEvent(e);
        }
    }
};

QFont font_for(const ui::Font& f) {
    QFont font = QApplication::font();
    if (f.is_default_control_font()) return font;
    if (!f.face.empty()) font.setFamily(qs(f.face));
    font.setPixelSize(f.pixel_height);
    font.setWeight(f.weight >= 700 ? QFont::Bold : QFont::Normal);
    return font;
}

QColor rgb(std::uint32_t value) { return QColor::fromRgb(static_cast<QRgb>(value) | 0xFF000000u); }

// Black text on white in every state of an edit box, read-only included.
void set_edit_colours(QWidget* w) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::Text, Qt::black);
    }
    w->setPalette(p);
}

// An edit box shows its selection only while it has the focus: without it
// the selection is drawn in the box's own colours. Qt would keep showing it.
class SelectionWhileFocused final : public QObject {
public:
    explicit SelectionWhileFocused(QWidget* box) : QObject(box), shown_(box->palette()) {
        hide_selection(box);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* box = static_cast<QWidget*>(watched);
        if (e->type() == QEvent::FocusIn) box->setPalette(shown_);
        if (e->type() == QEvent::FocusOut) hide_selection(box);
        return false;
    }

private:
    void hide_selection(QWidget* box) const {
        QPalette p = shown_;
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::Highlight, p.color(group, QPalette::Base));
            p.setColor(group, QPalette::HighlightedText, p.color(group, QPalette::Text));
        }
        box->setPalette(p);
    }

    QPalette shown_;
};

// The outline of a rectangle in one colour, drawn as filled one-pixel bands
// so that it stays crisp at any device pixel ratio.
void outline(QPainter& p, const QRect& r, const QColor& top_left, const QColor& bottom_right) {
    p.fillRect(r.left(), r.top(), r.width(), 1, top_left);
    p.fillRect(r.left(), r.top(), 1, r.height(), top_left);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottom_right);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottom_right);
}

// A group box as a classic dialog draws it: an etched frame whose top edge
// runs through the middle of the caption, the caption at the top left on the
// dialog face colour, and the same face colour inside, so that labels in it
// show no edges. Drawn here rather than by the visual style, whose frames sit
// below the caption and shade the inside.
class FormGroupBox final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPalette& pal = palette();
        p.fillRect(rect(), pal.window());
        const QFontMetrics fm(font());
        const int mid = fm.height() / 2;
        const QRect frame(0, mid, width() - 1, height() - mid - 1);
        outline(p, frame.translated(1, 1), pal.color(QPalette::Light), pal.color(QPalette::Light));
        outline(p, frame, pal.color(QPalette::Dark), pal.color(QPalette::Dark));
        const QString text = title();
        if (text.isEmpty()) return;
        const int text_width = fm.horizontalAdvance(text);
        p.fillRect(QRect(6, 0, text_width + 4, fm.height()), pal.window());
        p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(QRect(8, 0, text_width, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
};

// A label without word wrap shows one line: line breaks start none.
QString one_line(QString text) {
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

// A single-line box never holds a line break: of a paste that brings one,
// the part before its first line break is kept, and what the box held after
// the insertion point stays.
void keep_first_line(QLineEdit* edit, const QString& text) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < text.size() && cut < 0; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') cut = i;
    }
    if (cut < 0) return;
    const qsizetype resume = std::max<qsizetype>(edit->cursorPosition(), cut);
    QString kept = text.left(cut) + text.mid(resume);
    kept.remove(u'\r');
    kept.remove(u'\n');
    edit->setText(kept);
    edit->setCursorPosition(static_cast<int>(cut));
}

// What a screen reader calls a control that the form names no other way:
// its caption, without the colon that ends a caption placed before a box.
QString caption_name(const QString& caption) { return caption.endsWith(u'：') ? caption.chopped(1) : caption; }

// Whether GBK bytes end on a whole character and not on a lone CR, scanning
// from a place known to start a character.
bool ends_clean(std::string_view gbk) {
    std::size_t i = 0;
    while (i < gbk.size()) i += static_cast<unsigned char>(gbk[i]) >= 0x80 ? 2 : 1;
    return i == gbk.size() && (gbk.empty() || gbk.back() != '\r');
}

}  // namespace

FormWindow::FormWindow(const ui::Form& form) : QWidget(nullptr), form_(form) {
    setObjectName(qs(form.object_name));
    setWindowTitle(qs(form.title));
    // The window manager draws nothing around the window; its frame and
    // caption are painted here, so the client area is the same under every
    // window manager and the outer size is exact.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(form.width, form.height);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setGeometry(ui::frame_width, ui::frame_width + ui::caption_height, form.client_width(),
                         form.client_height());
    client_->setAutoFillBackground(true);

    // Group boxes first, since their children may come earlier in form order.
    for (const ui::Control& c : form.controls) {
        if (c.kind == ui::Kind::group_box && c.parent.empty()) widgets_.emplace(std::string(c.name), make_control(c, client_));
    }
    for (const ui::Control& c : form.controls) {
        if (widgets_.count(c.name) == 0) {
            QWidget* parent = c.parent.empty() ? client_ : widgets_.at(std::string(c.parent));
            widgets_.emplace(std::string(c.name), make_control(c, parent));
        }
        if (!c.text.empty()) write_text(c.name, gbk_from_utf8(c.text));
    }
    // Where controls overlap, the earlier one in form order is drawn above.
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) widgets_.at(std::string(it->name))->raise();

    // The Tab cycle runs in reverse form order, across parents.
    QWidget* previous = nullptr;
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) {
        if (!it->tab_stop) continue;
        QWidget* w = widgets_.at(std::string(it->name));
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }

    // Put back whenever anyone moves the window or the screen changes.
    put_back_.setSingleShot(true);
    connect(&put_back_, &QTimer::timeout, this, &FormWindow::enforce_geometry);
    for (QScreen* s : QGuiApplication::screens()) watch_screen(s);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        watch_screen(s);
        schedule_put_back();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &FormWindow::schedule_put_back);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &FormWindow::schedule_put_back);

    enforce_geometry();
    x11::set_own_frame_hints(this);
}

void FormWindow::watch_screen(QScreen* s) {
    connect(s, &QScreen::geometryChanged, this, &FormWindow::schedule_put_back);
}

QWidget* FormWindow::make_control(const ui::Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind) {
    case ui::Kind::button: {
        auto* b = new FormButton(parent);
        b->setAutoDefault(false);
        b->setDefault(false);
        const std::string name(c.name);
        connect(b, &QPushButton::clicked, this, [this, name] {
            if (on_click && !retired_) on_click(name);
        });
        held_[std::string(c.name)];
        w = b;
        break;
    }
    case ui::Kind::edit_box:
        if (c.multi_line) {
            auto* e = new QPlainTextEdit(parent);
            e->setUndoRedoEnabled(false);
            e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            // Lines break anywhere once they reach the box's width. Qt's
            // word-boundary-or-anywhere mode costs time quadratic in the length
            // of an unbreakable run (a pasted megabyte of digits took minutes);
            // the log's own lines never reach the width.
            e->setWordWrapMode(QTextOption::WrapAnywhere);
            e->setVerticalScrollBarPolicy(c.vertical_scroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (c.border == ui::Border::single_line) {
                e->setFrameStyle(QFrame::Box | QFrame::Plain);
                e->setLineWidth(1);
            }
            if (c.crosshair) e->viewport()->setCursor(Qt::CrossCursor);
            if (c.input == ui::Input::read_only) {
                e->setReadOnly(true);
                e->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            }
            w = e;
        } else {
            auto* e = new QLineEdit(parent);
            e->setMaxLength(std::numeric_limits<int>::max());  // no length limit
            e->setFrame(c.border != ui::Border::none);
            e->setReadOnly(c.input == ui::Input::read_only);
            if (c.input == ui::Input::number) e->installEventFilter(new NumberInputFilter(e));
            connect(e, &QLineEdit::textEdited, e, [e](const QString& text) { keep_first_line(e, text); });
            w = e;
        }
        set_edit_colours(w);
        w->installEventFilter(new SelectionWhileFocused(w));
        if (c.input == ui::Input::read_only) held_[std::string(c.name)];
        break;
    case ui::Kind::label: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setMargin(0);
        l->setIndent(0);
        l->setWordWrap(c.word_wrap);
        l->setAlignment(Qt::AlignLeft | (c.word_wrap ? Qt::AlignTop : Qt::AlignVCenter));
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        if (c.background) p.setColor(QPalette::Window, rgb(*c.background));
        p.setColor(QPalette::WindowText, rgb(c.text_color));
        l->setPalette(p);
        held_[std::string(c.name)];
        w = l;
        break;
    }
    case ui::Kind::group_box:
        w = new FormGroupBox(parent);
        held_[std::string(c.name)];
        break;
    }
    w->setObjectName(qs(c.name));
    w->setFont(font_for(c.font));
    w->setGeometry(c.left, c.top, c.width, c.height);
    w->setEnabled(c.enabled);
    if (!c.accessible_name.empty()) w->setAccessibleName(qs(c.accessible_name));
    if (!c.accessible_description.empty()) w->setAccessibleDescription(qs(c.accessible_description));
    if (c.kind == ui::Kind::edit_box && !c.multi_line) {
        // A single-line box lower than one line of its font is made that tall.
        const int edge = 2;
        const int needed = QFontMetrics(w->font()).boundingRect(QStringLiteral("吴")).height() + 2 * edge;
        if (c.height < needed) w->resize(c.width, needed);
    }
    if (c.tab_stop) {
        w->setFocusPolicy(Qt::StrongFocus);
    } else if (c.kind == ui::Kind::edit_box) {
        w->setFocusPolicy(Qt::ClickFocus);
    } else {
        w->setFocusPolicy(Qt::NoFocus);
    }
    return w;
}

QWidget* FormWindow::control(std::string_view name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

bool FormWindow::has_control(std::string_view name) const { return widgets_.find(name) != widgets_.end(); }

const std::string* FormWindow::held_text(std::string_view name) const {
    auto it = held_.find(name);
    return it == held_.end() ? nullptr : &it->second.gbk;
}

std::string FormWindow::read_text(std::string_view name) const {
    if (const std::string* held = held_text(name)) return *held;
    if (auto* edit = qobject_cast<QLineEdit*>(control(name))) return gbk_from_qstring(edit->text());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control(name))) return gbk_from_qstring(edit->toPlainText());
    return {};
}

void FormWindow::write_text(std::string_view name, std::string_view gbk) {
    QWidget* w = control(name);
    auto held = held_.find(name);
    if (auto* log = qobject_cast<QPlainTextEdit*>(w); log && held != held_.end()) {
        write_log(log, held->second, gbk);
        return;
    }
    if (held != held_.end()) {
        held->second.gbk.assign(gbk);
        held->second.clean_end = true;
    }
    const QString text = qstring_from_gbk(gbk);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
        edit->setCursorPosition(0);
        return;
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        edit->setPlainText(text);
        return;
    }
    const ui::Control* c = ui::find_control(form_, name);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(c && !c->word_wrap ? one_line(text) : text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
    // A caption is the control's accessible name unless the form gives one;
    // setting it tells a screen reader that the caption changed.
    if (w && c && c->accessible_name.empty()) w->setAccessibleName(caption_name(text));
}

// The sales log grows by one line per entry: when the new text extends the
// old one, only the new part is converted and appended to the document.
void FormWindow::write_log(QPlainTextEdit* edit, Held& held, std::string_view gbk) {
    const bool extends = held.clean_end && gbk.size() >= held.gbk.size() &&
                         gbk.compare(0, held.gbk.size(), held.gbk) == 0 && !held.gbk.empty();
    if (extends) {
        const std::string_view tail = gbk.substr(held.gbk.size());
        QTextCursor end(edit->document());
        end.movePosition(QTextCursor::End);
        end.insertText(qstring_from_gbk(tail));
        held.clean_end = ends_clean(tail);
        held.gbk.append(tail);
    } else {
        edit->setPlainText(qstring_from_gbk(gbk));
        held.gbk.assign(gbk);
        held.clean_end = ends_clean(gbk);
    }
    // The caret goes to the start and the box shows its first line.
    QTextCursor start(edit->document());
    edit->setTextCursor(start);
    edit->verticalScrollBar()->setValue(0);
    edit->horizontalScrollBar()->setValue(0);
}

void FormWindow::set_disabled(std::string_view name, bool disabled) {
    QWidget* w = control(name);
    if (!w) return;
    const bool had_focus = disabled && focusWidget() == w;
    w->setEnabled(!disabled);
    if (had_focus) {
        // The focus goes on along the Tab cycle, once the operation that
        // disabled its control is done and the controls it enables count.
        QMetaObject::invokeMethod(
            this,
            [this, after = std::string(name)] {
                if (QWidget* next = next_in_tab_cycle(after)) next->setFocus(Qt::TabFocusReason);
            },
            Qt::QueuedConnection);
    }
}

void FormWindow::set_caption_active(bool active) {
    if (caption_active_ == active) return;
    caption_active_ = active;
    update(0, 0, width(), ui::frame_width + ui::caption_height);
}

QWidget* FormWindow::first_in_tab_cycle() const {
    for (auto it = form_.controls.rbegin(); it != form_.controls.rend(); ++it) {
        QWidget* w = control(it->name);
        if (it->tab_stop && w->isEnabled() && w->isVisibleTo(const_cast<FormWindow*>(this))) return w;
    }
    return nullptr;
}

QWidget* FormWindow::next_in_tab_cycle(std::string_view after) const {
    // The cycle runs in reverse form order.
    const auto& controls = form_.controls;
    const auto n = static_cast<std::ptrdiff_t>(controls.size());
    std::ptrdiff_t start = n - 1;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        if (controls[static_cast<std::size_t>(i)].name == after) start = i;
    }
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        const ui::Control& c = controls[static_cast<std::size_t>(((start - step) % n + n) % n)];
        QWidget* w = control(c.name);
        if (c.tab_stop && w->isEnabled() && w->isVisibleTo(const_cast<FormWindow*>(this))) return w;
    }
    return nullptr;
}

void FormWindow::retire() {
    retired_ = true;
    hide();
}

QPoint FormWindow::centred_place() const {
    // Centred on the whole screen, not the part a panel leaves free; halves
    // truncate toward zero, where QRect::center() would be a pixel off.
    const QScreen* s = QGuiApplication::primaryScreen();
    const QRect area = s ? s->geometry() : QRect(0, 0, form_.width, form_.height);
    return QPoint(area.x() + (area.width() - form_.width) / 2, area.y() + (area.height() - form_.height) / 2);
}

void FormWindow::enforce_geometry() {
    if (retired_ || isMinimized()) return;
    const QSize outer(form_.width, form_.height);
    if (size() != outer) resize(outer);
    const QPoint target = centred_place();
    if (pos() != target) {
        ++corrections_;
        move(target);
    } else {
        corrections_ = 0;
    }
}

void FormWindow::schedule_put_back() {
    if (retired_ || put_back_.isActive()) return;
    // A window manager that keeps moving the window is answered ten times a
    // second instead of at once, and never has the last word.
    put_back_.start(corrections_ < 8 ? 0 : 100);
}

bool FormWindow::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowStateChange:
        if (isMinimized()) minimised_.start();
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        // The window is neither movable nor resizable: put it back once the
        // event is done with.
        schedule_put_back();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The shell decides what a close request does; the widget never closes
    // itself.
    e->ignore();
    if (on_close_request && !retired_) on_close_request();
}

void FormWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    // A raised edge of two lines, then one line of the face colour.
    const QRect outer = rect();
    p.fillRect(outer, pal.window());
    outline(p, outer, pal.color(QPalette::Midlight), pal.color(QPalette::Shadow));
    outline(p, outer.adjusted(1, 1, -1, -1), pal.color(QPalette::Light), pal.color(QPalette::Dark));

    // The caption bar, one line of the face colour above the client area.
    const QRect bar(ui::frame_width, ui::frame_width, width() - 2 * ui::frame_width, ui::caption_height - 1);
    const QColor base = caption_active_ ? pal.color(QPalette::Active, QPalette::Highlight) : pal.color(QPalette::Dark);
    QLinearGradient fill(bar.topLeft(), bar.topRight());
    fill.setColorAt(0, base.darker(caption_active_ ? 160 : 125));
    fill.setColorAt(1, base);
    p.fillRect(bar, fill);

    QFont title_font = QApplication::font();
    title_font.setPixelSize(12);
    title_font.setBold(true);
    p.setFont(title_font);
    p.setPen(caption_active_ ? pal.color(QPalette::Active, QPalette::HighlightedText) : pal.color(QPalette::Window));
    const QRect text_rect = bar.adjusted(4, 0, -4, 0);
    p.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(title_font).elidedText(windowTitle(), Qt::ElideRight, text_rect.width()));
}

void FormWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!shown_once_) {
        shown_once_ = true;
        if (!focusWidget()) {
            if (QWidget* first = first_in_tab_cycle()) first->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
}

}  // namespace tallaro
