#pragma once

#include <memory>
#include <string>

#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "form_importa.h"
#include "scripted_dialogs.h"

namespace ui_test {

// The window in a fresh program folder of its own, with scripted message boxes and file
// dialogs, and its controls found by name.
class WindowFixture : public testing::Test {
protected:
    QTemporaryDir folder;
    const std::string programFolder = folder.path().toStdString() + "/";
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<ui::TFormImporta> window = std::make_unique<ui::TFormImporta>(programFolder, boxes, dialogs);

    template <typename Widget = QWidget>
    Widget* control(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

}  // namespace ui_test
