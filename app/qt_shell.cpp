#include "app/qt_shell.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/gbk_qt.h"
#include "app/x11.h"
#include "core/text.h"
#include "core/gbk.h"
#include "ui/form.h"

namespace tallaro {

namespace {

const QEvent::Type k_drain_event = static_cast<QEvent::Type>(QEvent::User + 1);
const QEvent::Type k_flush_event = static_cast<QEvent::Type>(QEvent::User + 2);

// Style 3: Fusion with flat group-box frames, so that it differs from style 1.
class PlainStyle final : public QProxyStyle {
public:
    PlainStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_GroupBox_TextLabelVerticalAlignment) return Qt::AlignVCenter;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QStyle* make_style(int style) {
    switch (style) {
    case 1:
        return QStyleFactory::create(QStringLiteral("Fusion"));
    case 2:
        return QStyleFactory::create(QStringLiteral("Windows"));
    default:
        return new PlainStyle;
    }
}

bool is_input(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

QtShell::QtShell() {
    default_style_ = QApplication::style() ? QApplication::style()->name() : QStringLiteral("Fusion");
    qApp->installEventFilter(this);
    install_window_ops(this);
}

QtShell::~QtShell() {
    install_window_ops(nullptr);
    qApp->removeEventFilter(this);
    for (auto& [w, inst] : instances_) delete inst.widget.data();
    for (auto& w : graveyard_) delete w.data();
}

FormWindow* QtShell::window(Window w) const {
    auto it = instances_.find(w);
    return it == instances_.end() ? nullptr : it->second.widget.data();
}

QtShell::Instance& QtShell::loaded_instance(Window window, std::string_view message) {
    auto it = instances_.find(window);
    if (it == instances_.end() || !it->second.widget) fatal_error(gbk_from_utf8(message));
    return it->second;
}

FormWindow& QtShell::widget_with(Window window, std::string_view control) {
    FormWindow& w = *loaded_instance(window, k_window_not_loaded).widget;
    if (!w.has_control(control)) fatal_error(gbk_from_utf8(k_control_not_loaded));
    return w;
}

bool QtShell::load_window(Window window, bool modal, std::optional<Window> owner) {
    if (auto it = instances_.find(window); it != instances_.end()) {
        FormWindow* w = it->second.widget;
        if (!it->second.marked) {
            if (w->isMinimized()) w->showNormal();
            w->raise();
            w->activateWindow();
            return true;
        }
        destroy_instance(window);
    }
    if (!modal && owner && !loaded(*owner)) return false;

    ++hold_;
    FormWindow* widget = nullptr;
    try {
        widget = new FormWindow(ui::form_of(window));
    } catch (...) {
        --hold_;
        return false;
    }
    --hold_;
    const int id = next_id_++;
    widget->on_click = [this, window, id](std::string_view control) { clicked(window, id, control); };
    widget->on_close_request = [this, window, id] { close_requested(window, id); };
    Instance& inst = instances_[window];
    inst = Instance{};
    inst.id = id;
    inst.widget = widget;

    // The created operation sees every control with its form text, and what it
    // writes is on screen the first time the window shows.
    run_operation(widget->form().created);
    auto it = instances_.find(window);
    if (it == instances_.end() || it->second.id != id) return true;

    // A modal window blocks the others itself (see eventFilter); Qt's own
    // modality would swallow the clicks that must bring it to the front.
    if (modal) x11::set_skip_taskbar(widget);
    widget->show();
    // Qt writes its own window-manager hints as it maps the window.
    x11::set_own_frame_hints(widget);
    widget->enforce_geometry();
    widget->raise();
    widget->activateWindow();
    if (!modal) return true;

    Instance& self = instances_[window];
    self.modal = true;
    for (auto& [other, other_inst] : instances_) {
        if (other == window) continue;
        self.disabled_list.push_back({other, other_inst.id, other_inst.enabled});
        set_enabled(other_inst, false);
    }

    // The innermost wait belongs to the current modal window.
    QEventLoop wait;
    self.wait = &wait;
    waits_.push_back(&wait);
    wait.exec();
    waits_.pop_back();
    // The instance may be long gone; let the outer loop take what is queued.
    if (!requests_.empty()) queue_drain_event();
    return true;
}

void QtShell::destroy_window(Window window) {
    Instance& inst = loaded_instance(window, k_control_not_loaded);
    inst.marked = true;
    queue(Request{Request::destroy, window, inst.id, 0});
}

void QtShell::queue(Request request) {
    requests_.push_back(request);
    queue_drain_event();
}

void QtShell::queue_drain_event() {
    if (drain_posted_) return;
    drain_posted_ = true;
    QCoreApplication::postEvent(this, new QEvent(k_drain_event));
}

void QtShell::drain() {
    // While the error box is up the requests wait: a quit request taken now
    // would end the box's wait before anyone has read it.
    if (failing_) return;
    while (!requests_.empty()) {
        const Request r = requests_.front();
        if (r.kind == Request::quit) {
            if (!waits_.empty()) {
                // A modal wait leaves the quit request to the outer loop.
                waits_.back()->quit();
                return;
            }
            requests_.pop_front();
            ++hold_;  // nothing of the program runs any more
            QCoreApplication::exit(r.status);
            return;
        }
        requests_.pop_front();
        auto it = instances_.find(r.window);
        if (it == instances_.end() || it->second.id != r.id || !it->second.marked) continue;
        it->second.marked = false;
        destroy_instance(r.window);
    }
}

void QtShell::destroy_instance(Window window) {
    auto node = instances_.extract(window);
    Instance& inst = node.mapped();
    if (inst.modal) {
        for (const Disabled& d : inst.disabled_list) {
            auto it = instances_.find(d.window);
            if (it != instances_.end() && it->second.id == d.id) set_enabled(it->second, d.was_enabled);
        }
    }
    if (inst.widget) bury(inst.widget);
    if (inst.wait) inst.wait->quit();  // ends after the current event
    if (inst.modal) {
        // Input goes back to the window that is left, which may be new.
        for (auto& [w, other] : instances_) {
            if (other.widget && other.enabled) {
                other.widget->raise();
                other.widget->activateWindow();
            }
        }
    }
    if (loop_started_ && instances_.empty()) queue(Request{Request::quit, window, 0, 0});
}

void QtShell::set_enabled(Instance& inst, bool enabled) {
    inst.enabled = enabled;
    if (inst.widget) inst.widget->set_caption_active(enabled);
}

QtShell::Instance* QtShell::instance_of(const QWidget* widget) {
    const auto* form = widget ? qobject_cast<const FormWindow*>(widget->window()) : nullptr;
    if (!form) return nullptr;
    for (auto& [w, inst] : instances_) {
        if (inst.widget == form) return &inst;
    }
    return nullptr;
}

void QtShell::bring_modal_forward(bool on_activation) {
    if (waits_.empty()) return;
    for (auto& [w, inst] : instances_) {
        if (inst.wait != waits_.back() || !inst.widget) continue;
        FormWindow* modal = inst.widget;
        // A window manager hands the focus to the window below when the
        // modal window is minimised; that activation must not undo it.
        if (on_activation && modal->isMinimized() && modal->ms_since_minimised() < 1000) return;
        if (modal->isMinimized()) modal->showNormal();
        modal->raise();
        modal->activateWindow();
    }
}

void QtShell::bury(FormWindow* widget) {
    widget->retire();
    graveyard_.emplace_back(widget);
    if (dispatching_ == 0) QCoreApplication::postEvent(this, new QEvent(k_flush_event));
}

void QtShell::flush_graveyard() {
    // A window is deleted only when no click of it is still on the stack.
    if (dispatching_ != 0) return;
    std::vector<QPointer<FormWindow>> dead;
    dead.swap(graveyard_);
    for (auto& w : dead) delete w.data();
}

void QtShell::clicked(Window window, int id, std::string_view control) {
    if (hold_ > 0) return;
    auto it = instances_.find(window);
    if (it == instances_.end() || it->second.id != id || !it->second.enabled) return;
    void (*run)() = ui::click_binding(it->second.widget->form(), control);
    if (!run) return;
    ++dispatching_;
    run_operation(run);
    --dispatching_;
    if (dispatching_ == 0 && !graveyard_.empty()) QCoreApplication::postEvent(this, new QEvent(k_flush_event));
}

void QtShell::close_requested(Window window, int id) {
    // While the error box is up (or the program is ending) a close request
    // runs nothing: losing the last window would end the box's wait.
    if (hold_ > 0) return;
    auto it = instances_.find(window);
    if (it == instances_.end() || it->second.id != id) return;
    // A window that a modal window has disabled ignores close requests: losing
    // it would leave the checkout window's operations without their window.
    if (!it->second.enabled) return;
    destroy_instance(window);
}

std::string QtShell::read_text(Window window, std::string_view control) {
    const FormWindow& w = widget_with(window, control);
    // The log is copied once, straight from the bytes kept beside it.
    if (const std::string* held = w.held_text(control)) return copy_text(*held);
    return copy_text(w.read_text(control));
}

void QtShell::write_text(Window window, std::string_view control, std::string_view text) {
    widget_with(window, control).write_text(control, text);
}

void QtShell::set_disabled(Window window, std::string_view control, bool disabled) {
    Instance& inst = loaded_instance(window, k_control_not_loaded);
    if (!inst.widget->has_control(control)) fatal_error(gbk_from_utf8(k_control_not_loaded));
    inst.widget->set_disabled(control, disabled);
}

int QtShell::set_visual_style(int style) {
    if (style >= 1 && style <= 3) {
        // Switching the same style off and on again changes nothing on screen.
        if (style_ != style) {
            QApplication::setStyle(make_style(style));
            style_ = style;
        }
        return 1;
    }
    const bool was_on = style_ != 0;
    if (was_on) QApplication::setStyle(default_style_);
    style_ = 0;
    return was_on ? 1 : 0;
}

void QtShell::end_program(int status) {
    ++hold_;
    std::fflush(nullptr);
    std::_Exit(status);
}

void QtShell::fatal_error(std::string_view message) {
    ++hold_;  // from now on no click runs anything
    // The box cannot be shown: a second fatal error while it is made.
    static bool showing = false;
    if (showing) {
        std::fprintf(stderr, "tallaro: fatal error while showing the error box\n");
        std::_Exit(-1);
    }
    showing = true;
    failing_ = true;

    // Memory may have run out: the box's text is put together in a buffer of
    // its own. "运行时出错!\r\n\r\n错误信息：", the message, "\r\n".
    static constexpr std::string_view head =
        "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
    static char text[1024];
    const std::size_t room = sizeof text - head.size() - 2;
    std::size_t n = head.copy(text, head.size());
    n += message.copy(text + n, std::min(message.size(), room));
    text[n++] = '\r';
    text[n++] = '\n';
    const std::string_view gbk(text, n);

    if (qApp) {
        // Without a GBK converter the message is plain ASCII and says so.
        const QString shown = gbk_converter_available()
                                  ? qstring_from_gbk(gbk)
                                  : QStringLiteral("运行时出错!\n\n错误信息：") +
                                        QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())) +
                                        QLatin1Char('\n');
        QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), shown, QMessageBox::Ok);
        box.setObjectName(QStringLiteral("FatalErrorBox"));
        box.exec();
    } else if (gbk_converter_available()) {
        std::fprintf(stderr, "%s", utf8_from_gbk(gbk).c_str());
    } else {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    }
    std::fflush(nullptr);
    std::_Exit(-1);
}

// Runs a bound operation. Running out of memory is the fatal error wherever
// it happens: a std::bad_alloc that no step turned into it is turned here,
// with the size of the last text handed to the toolkit, the best count known.
void QtShell::run_operation(void (*operation)()) {
    bool exhausted = false;
    try {
        operation();
    } catch (const std::bad_alloc&) {
        exhausted = true;  // what the operation held is released by now
    }
    if (exhausted) out_of_memory(last_boundary_text_bytes());
}

int QtShell::run() {
    if (!load_window(Window::main, false, std::nullopt)) fatal_error(gbk_from_utf8(k_start_window_failed));
    loop_started_ = true;
    if (instances_.empty()) return 0;
    return QApplication::exec();
}

bool QtShell::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowActivate) {
        // A window that the modal window disables hands the activation on.
        const Instance* inst = instance_of(qobject_cast<QWidget*>(watched));
        if (inst && !inst->enabled && inst->widget == watched) {
            QTimer::singleShot(250, this, [this] { bring_modal_forward(true); });
        }
        return false;
    }
    if (!is_input(type)) return false;
    if (!requests_.empty()) drain();
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    // An event whose instance no longer exists is dropped.
    if (auto* form = qobject_cast<FormWindow*>(w->window()); form && form->retired()) return true;
    // A disabled window takes no input; a click on it brings the modal window
    // to the front, minimised or not. Its close requests go on to the window,
    // which decides (a swallowed close event would count as accepted).
    const Instance* inst = instance_of(w);
    if (!inst || inst->enabled || type == QEvent::Close) return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        QMetaObject::invokeMethod(this, [this] { bring_modal_forward(false); }, Qt::QueuedConnection);
    }
    return true;
}

void QtShell::customEvent(QEvent* event) {
    if (event->type() == k_drain_event) {
        drain_posted_ = false;
        drain();
    } else if (event->type() == k_flush_event) {
        flush_graveyard();
    }
}

}  // namespace tallaro
