#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "file_dialogs.h"
#include "message_boxes.h"

namespace ui {

inline void PrintTo(const BoxContent& box, std::ostream* out) {
    *out << "{\"" << box.caption << "\", icon " << static_cast<int>(box.icon) << ", \"" << box.text << "\", "
         << (box.buttons == BoxButtons::Ok ? "OK" : "Yes/No") << "}";
}

}  // namespace ui

namespace ui_test {

// Message boxes answered from a script, with a record of every box shown.
class ScriptedMessageBoxes final : public ui::MessageBoxes {
public:
    std::deque<bool> answers;  // for Yes/No boxes, in order; No when none is left
    std::vector<ui::BoxContent> shown;

    bool show(const ui::BoxContent& box) override {
        shown.push_back(box);
        if (box.buttons == ui::BoxButtons::Ok) return true;
        if (answers.empty()) {
            ADD_FAILURE() << "no answer scripted for: " << box.text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // What the login dialog answers, in order; Cancel when none is left.
    std::deque<engine::Credentials> logins;
    int loginsAsked = 0;

    std::optional<engine::Credentials> askLogin() override {
        ++loginsAsked;
        if (logins.empty()) return std::nullopt;
        engine::Credentials typed = logins.front();
        logins.pop_front();
        return typed;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const ui::BoxContent& box : shown) result.push_back(box.text);
        return result;
    }
};

// Open-file and save-file dialogs answered from a script: the chosen path, or nothing for a cancel.
class ScriptedFileDialogs final : public ui::FileDialogs {
public:
    std::deque<std::optional<QString>> answers;
    std::vector<ui::OpenFileRequest> requests;

    std::optional<QString> openFile(QWidget* owner, const ui::OpenFileRequest& request) override {
        return answer(owner, request);
    }
    std::optional<QString> saveFile(QWidget* owner, const ui::OpenFileRequest& request) override {
        return answer(owner, request);
    }

private:
    std::optional<QString> answer(QWidget*, const ui::OpenFileRequest& request) {
        requests.push_back(request);
        if (answers.empty()) {
            ADD_FAILURE() << "no dialog answer scripted";
            return std::nullopt;
        }
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace ui_test
