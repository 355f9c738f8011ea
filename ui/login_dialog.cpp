#include "login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "box_texts.h"

namespace ui {

LoginDialog::LoginDialog(QWidget* owner) : QDialog(owner), user_(new QLineEdit(this)), password_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QString::fromUtf8(engine::kCaptionAtencao.data(), qsizetype(engine::kCaptionAtencao.size())));
    user_->setObjectName(QStringLiteral("EditUsuario"));
    password_->setObjectName(QStringLiteral("EditSenha"));
    password_->setEchoMode(QLineEdit::Password);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Usuário:"), user_);
    fields->addRow(QStringLiteral("Senha:"), password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("O servidor Firebird recusou o usuário ou a senha.\n"
                                                "Informe o usuário e a senha deste servidor:"),
                                 this));
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

engine::Credentials LoginDialog::credentials() const {
    return {user_->text().toStdString(), password_->text().toStdString()};
}

}  // namespace ui
