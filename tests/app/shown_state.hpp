#pragma once

// A window's state as the user meets it, in a form that two windows of the same kind, or
// one window before and after a user's action, can be compared by.

#include <QWidget>
#include <string>
#include <vector>

#include "sending_buttons.hpp"

namespace apptest {

// Each control of `w` in the order the window holds them: its kind, its name, whether it
// takes clicks and is shown, and what it shows.
inline std::vector<std::string> shownState(core::ToolWindow* w) {
    std::vector<std::string> state;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        std::string line = std::string(c->metaObject()->className()) + " " +
                           c->objectName().toStdString() + (c->isEnabled() ? "" : " (off)") +
                           (c->isVisibleTo(w) ? "" : " (hidden)");
        if (std::optional<QString> text = shownText(c)) line += ": \"" + text->toStdString() + "\"";
        state.push_back(std::move(line));
    }
    return state;
}

// Each control that `after` shows otherwise than `before`, as "before -> after".
inline std::vector<std::string> stateChanges(const std::vector<std::string>& before,
                                             const std::vector<std::string>& after) {
    std::vector<std::string> changed;
    if (before.size() != after.size()) {
        changed.push_back(std::to_string(before.size()) + " controls -> " +
                          std::to_string(after.size()) + " controls");
        return changed;
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) changed.push_back(before[i] + " -> " + after[i]);
    }
    return changed;
}

}  // namespace apptest
