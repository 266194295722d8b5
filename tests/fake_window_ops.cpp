#include "tests/fake_window_ops.h"

#include "core/gbk.h"
#include "core/text.h"
#include "ui/form.h"

namespace tallaro::support {

const char* window_name(Window window) { return window == Window::main ? "main" : "checkout"; }

FakeWindowOps::FakeWindowOps() { install_window_ops(this); }
FakeWindowOps::~FakeWindowOps() { install_window_ops(nullptr); }

FakeWindowOps::Instance& FakeWindowOps::instance(Window window) {
    auto it = instances_.find(window);
    if (it == instances_.end()) fatal_error(gbk_from_utf8(k_window_not_loaded));
    return it->second;
}

FakeWindowOps::Control& FakeWindowOps::control(Window window, std::string_view name) {
    Instance& inst = instance(window);
    auto it = inst.controls.find(name);
    if (it == inst.controls.end()) fatal_error(gbk_from_utf8(k_control_not_loaded));
    return it->second;
}

bool FakeWindowOps::load_window(Window window, bool modal, std::optional<Window> owner) {
    calls.push_back(std::string("load ") + window_name(window) + (modal ? " modal" : ""));
    if (auto it = instances_.find(window); it != instances_.end()) {
        if (!it->second.marked) return true;
        destroy_instance(window);
    }
    if (!modal && owner && !loaded(*owner)) return false;

    Instance inst;
    inst.id = next_id_++;
    const ui::Form& form = ui::form_of(window);
    for (const ui::Control& c : form.controls) {
        inst.controls.emplace(std::string(c.name), Control{gbk_from_utf8(c.text), !c.enabled});
    }
    const int id = inst.id;
    instances_[window] = std::move(inst);
    form.created();
    if (!loaded(window) || instances_[window].id != id) return true;
    if (!modal) return true;

    Instance& self = instances_[window];
    self.modal = true;
    for (auto& [other, other_inst] : instances_) {
        if (other == window) continue;
        self.disabled_list.push_back({other, other_inst.id, other_inst.enabled});
        other_inst.enabled = false;
    }
    if (modal_wait) {
        modal_wait();
        while (loaded(window) && instances_[window].id == id && !requests_.empty()) drain();
    }
    return true;
}

void FakeWindowOps::destroy_window(Window window) {
    calls.push_back(std::string("destroy ") + window_name(window));
    auto it = instances_.find(window);
    if (it == instances_.end()) fatal_error(gbk_from_utf8(k_control_not_loaded));
    it->second.marked = true;
    requests_.emplace_back(window, it->second.id);
}

void FakeWindowOps::destroy_instance(Window window) {
    Instance& inst = instances_.at(window);
    if (inst.modal) {
        for (const auto& d : inst.disabled_list) {
            auto it = instances_.find(d.window);
            if (it != instances_.end() && it->second.id == d.id) it->second.enabled = d.was_enabled;
        }
    }
    instances_.erase(window);
}

void FakeWindowOps::drain() {
    while (!requests_.empty()) {
        auto [window, id] = requests_.front();
        requests_.pop_front();
        auto it = instances_.find(window);
        if (it == instances_.end() || it->second.id != id || !it->second.marked) continue;
        destroy_instance(window);
    }
}

std::string FakeWindowOps::read_text(Window window, std::string_view name) {
    return copy_text(control(window, name).text);
}

void FakeWindowOps::write_text(Window window, std::string_view name, std::string_view text) {
    control(window, name).text = std::string(text);
}

void FakeWindowOps::set_disabled(Window window, std::string_view name, bool disabled) {
    control(window, name).disabled = disabled;
}

int FakeWindowOps::set_visual_style(int style) {
    calls.push_back("style " + std::to_string(style));
    const bool was_on = visual_style != 0;
    if (style >= 1 && style <= 3) {
        visual_style = style;
        return 1;
    }
    visual_style = 0;
    return was_on ? 1 : 0;
}

void FakeWindowOps::end_program(int status) { throw ProgramEnded{status}; }

void FakeWindowOps::fatal_error(std::string_view message) { throw FatalError{std::string(message)}; }

void FakeWindowOps::click(Window window, std::string_view name) {
    if (control(window, name).disabled || !instance(window).enabled) return;
    if (auto run = ui::click_binding(ui::form_of(window), name)) run();
}

std::string FakeWindowOps::text(Window window, std::string_view name) {
    return utf8_from_gbk(control(window, name).text);
}

bool FakeWindowOps::disabled(Window window, std::string_view name) { return control(window, name).disabled; }

}  // namespace tallaro::support
