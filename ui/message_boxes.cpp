#include "message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "login_dialog.h"

namespace ui {

void MessageBoxes::Mensagem(const std::string& text, bool information) {
    if (information)
        show({std::string(engine::kCaptionAviso), BoxIcon::Information, text, BoxButtons::Ok});
    else
        show({std::string(engine::kCaptionAtencao), BoxIcon::Warning, text, BoxButtons::Ok});
}

bool MessageBoxes::Confirma(const std::string& text) {
    return show({std::string(engine::kCaptionConfirmacao), BoxIcon::Question, text, BoxButtons::YesNo});
}

bool MessageBoxes::ConfirmaPadraoNao(const std::string& text) {
    return show({std::string(engine::kCaptionConfirmacao), BoxIcon::Question, text, BoxButtons::YesNo, true});
}

void MessageBoxes::showPlain(const std::string& text) {
    show({std::string(engine::kApplicationTitle), BoxIcon::None, text, BoxButtons::Ok});
}

void MessageBoxes::showError(const std::string& failureText) {
    show({std::string(engine::kApplicationTitle), BoxIcon::Error, engine::errorBoxText(failureText), BoxButtons::Ok});
}

namespace {

QMessageBox::Icon qtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> DesktopMessageBoxes::build(const BoxContent& box, QWidget* owner) {
    auto dialog = std::make_unique<QMessageBox>(owner);
    dialog->setWindowTitle(QString::fromStdString(box.caption));
    dialog->setIcon(qtIcon(box.icon));
    dialog->setTextFormat(Qt::PlainText);
    // Texts break lines with CR LF; a label shows a bare CR as a character of its own.
    dialog->setText(QString::fromStdString(box.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (box.buttons == BoxButtons::YesNo) {
        dialog->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        dialog->setDefaultButton(box.defaultNo ? QMessageBox::No : QMessageBox::Yes);
    } else {
        dialog->setStandardButtons(QMessageBox::Ok);
    }
    return dialog;
}

bool DesktopMessageBoxes::show(const BoxContent& box) {
    const std::unique_ptr<QMessageBox> dialog = build(box, QApplication::activeWindow());
    const int answer = dialog->exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

std::optional<engine::Credentials> DesktopMessageBoxes::askLogin() {
    LoginDialog dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.credentials();
}

}  // namespace ui
