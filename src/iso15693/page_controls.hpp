#pragma once

#include <QPushButton>

#include "widgets/window_builder.hpp"

namespace iso15693 {

// A command button of the window's pages, placed in twips.
inline QPushButton* commandButton(const widgets::WindowBuilder& b, QWidget* parent,
                                  const char* name, const char* caption, int left, int top,
                                  int width, int height = 345) {
    return b.place(new QPushButton(QString::fromLatin1(caption), parent), QString::fromLatin1(name),
                   left, top, width, height);
}

}  // namespace iso15693
