#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "box_texts.h"
#include "credentials.h"

class QMessageBox;
class QWidget;

namespace ui {

enum class BoxIcon { None, Information, Warning, Question, Error };
enum class BoxButtons { Ok, YesNo };

// Everything a modal message box shows.
struct BoxContent {
    std::string caption;
    BoxIcon icon = BoxIcon::None;
    std::string text;
    BoxButtons buttons = BoxButtons::Ok;
    // With Yes and No: No is the default answer (Enter answers No).
    bool defaultNo = false;

    friend bool operator==(const BoxContent&, const BoxContent&) = default;
};

// Every modal message box of the program goes through one object of this kind: the desktop
// shows real boxes, tests answer them from a script.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // "A V I S O" with the information icon, or "A T E N Ç Ã O" with the warning icon.
    void Mensagem(const std::string& text, bool information);
    // "C O N F I R M A Ç Ã O" with Yes and No; true only for Yes.
    bool Confirma(const std::string& text);
    // The same box with No as its default button.
    bool ConfirmaPadraoNao(const std::string& text);
    // Captioned with the application title, OK, no icon.
    void showPlain(const std::string& text);
    // The box of a failure that its event handler did not expect.
    void showError(const std::string& failureText);

    // Shows the box modally and waits for the answer: true for OK or Yes.
    virtual bool show(const BoxContent& box) = 0;
    // The login dialog after the server refused the login: the user and password typed, or
    // nothing for Cancel.
    virtual std::optional<engine::Credentials> askLogin() = 0;
};

// Real modal boxes, owned by the active window or, when none is active, by the application.
class DesktopMessageBoxes final : public MessageBoxes {
public:
    bool show(const BoxContent& box) override;
    std::optional<engine::Credentials> askLogin() override;

    // The box as it is shown, with its caption, icon, text and buttons.
    static std::unique_ptr<QMessageBox> build(const BoxContent& box, QWidget* owner);
};

}  // namespace ui
