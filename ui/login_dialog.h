#pragma once

#include <QDialog>

#include "credentials.h"

class QLineEdit;

namespace ui {

// The small dialog shown when the server refused the login: a user and a password (masked as
// it is typed), OK and Cancel. What is typed stays in the dialog until it is read.
class LoginDialog final : public QDialog {
public:
    explicit LoginDialog(QWidget* owner);

    engine::Credentials credentials() const;

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }

private:
    QLineEdit* user_;
    QLineEdit* password_;
};

}  // namespace ui
