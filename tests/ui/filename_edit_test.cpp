#include "filename_edit.h"

#include <fstream>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include "scripted_dialogs.h"

namespace {

const QString kTitle = QStringLiteral("Browse");
const QStringList kFilters = {QStringLiteral("Arquivos GDB (*.gdb)"), QStringLiteral("Arquivos FDB (*.fdb)")};

class FilenameEditTest : public testing::Test {
protected:
    ui_test::ScriptedMessageBoxes boxes;
    ui_test::ScriptedFileDialogs dialogs;
    QWidget window;
    ui::FilenameEdit* edit = new ui::FilenameEdit(dialogs, boxes, &window);
    QTemporaryDir folder;

    FilenameEditTest() {
        window.resize(700, 100);
        edit->setGeometry(117, 29, 521, 28);
    }

    QString file(const QString& name) const {
        const QString path = folder.path() + u'/' + name;
        std::ofstream(path.toStdString()) << "x";
        return path;
    }

    // Drops the files on the box as the desktop shell does; true when the box took the drop.
    bool drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &dropped);
        return dropped.isAccepted();
    }
};

TEST_F(FilenameEditTest, TakesFocusAndCopiesButCannotBeTypedIn) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setText(QStringLiteral("/dados/tavlo.fdb"));
    edit->setFocus();
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(edit->focusPolicy() & Qt::TabFocus);

    QApplication::clipboard()->setText(QStringLiteral("colado"));
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("/dados/tavlo.fdb"));

    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("/dados/tavlo.fdb"));
}

TEST_F(FilenameEditTest, BrowseButtonFillsTheRightEndAndOpensTheDialogAsAltDownDoes) {
    window.show();
    auto* button = edit->findChild<QToolButton*>(QStringLiteral("BrowseButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->width(), 30);
    EXPECT_GE(button->geometry().right(), edit->width() - 3);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);

    dialogs.answers = {std::nullopt, std::nullopt};
    button->click();
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_EQ(dialogs.requests.size(), 2U);
    EXPECT_EQ(dialogs.requests[0].title, kTitle);
    EXPECT_EQ(dialogs.requests[0].filters, kFilters);
    EXPECT_EQ(dialogs.requests[0].selectedFilter, kFilters[0]);
}

TEST_F(FilenameEditTest, DialogStartsInTheFolderOfTheBoxNameAndProposesItsFilePart) {
    const QString base = folder.path() + u'/';
    const QString existing = file(QStringLiteral("tavlo base.fdb"));
    struct Case {
        QString text;
        QString folder;
        QString proposed;
    };
    const Case cases[] = {
        {QString(), QString(), QString()},
        {existing, base, QStringLiteral("tavlo base.fdb")},                                  // an existing file, whole
        {base + QStringLiteral("novo.fdb"), base, QStringLiteral("novo.fdb")},               // the folder exists
        {QStringLiteral("/sem/pasta.fdb"), QString(), QStringLiteral("pasta.fdb")},          // it does not
        {u'"' + base + QStringLiteral("a b.fdb\" resto"), base, QStringLiteral("a b.fdb")},  // first item
        {base + QStringLiteral("a b.fdb"), base, QStringLiteral("a")},  // not a file: up to the blank
        {base, base, QString()},                                        // no file part
        {base + QStringLiteral("[x].fdb"), QString(), QString()},       // not a valid name
        {QStringLiteral("   "), QString(), QString()},
    };
    for (const Case& c : cases) {
        edit->setText(c.text);
        dialogs.answers = {std::nullopt};
        edit->browse();
        ASSERT_FALSE(dialogs.requests.empty());
        const ui::OpenFileRequest& request = dialogs.requests.back();
        EXPECT_EQ(request.folder, c.folder) << c.text.toStdString();
        EXPECT_EQ(request.proposedName, c.proposed) << c.text.toStdString();
    }
}

TEST_F(FilenameEditTest, ChosenPathBecomesTheTextAndItsFolderIsRemembered) {
    const QString chosenFolder = folder.path() + QStringLiteral("/com espaço/");
    QDir().mkpath(chosenFolder);
    edit->setText(QStringLiteral("/antes.fdb"));
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setFocus();

    // Cancelling keeps the text; the focus comes back to the box either way.
    dialogs.answers = {std::nullopt};
    edit->browse();
    EXPECT_EQ(edit->text(), QStringLiteral("/antes.fdb"));
    EXPECT_EQ(window.focusWidget(), edit);

    other.setFocus();
    dialogs.answers = {chosenFolder + QStringLiteral("merak.fdb")};
    edit->browse();
    EXPECT_EQ(edit->text(), u'"' + chosenFolder + QStringLiteral("merak.fdb\""));
    EXPECT_EQ(window.focusWidget(), edit);

    dialogs.answers = {QStringLiteral("/srv/dados/tavlo.fdb")};
    edit->browse();
    EXPECT_EQ(edit->text(), QStringLiteral("/srv/dados/tavlo.fdb"));

    // With a name whose folder does not exist the dialog opens where the last file was chosen.
    dialogs.answers = {std::nullopt};
    edit->browse();
    EXPECT_EQ(dialogs.requests.back().folder, QStringLiteral("/srv/dados/"));
}

TEST_F(FilenameEditTest, DropTakesTheFirstFileCutTo254Characters) {
    const QString first = file(QStringLiteral("primeiro.fdb"));
    ASSERT_TRUE(drop({first, file(QStringLiteral("segundo.fdb")), file(QStringLiteral("terceiro.fdb"))}));
    EXPECT_EQ(edit->text(), first);

    const QString withBlank = file(QStringLiteral("com espaço.fdb"));
    ASSERT_TRUE(drop({withBlank}));
    EXPECT_EQ(edit->text(), u'"' + withBlank + u'"');

    const QString longPath = u'/' + QString(299, u'a');
    ASSERT_TRUE(drop({longPath}));
    EXPECT_EQ(edit->text(), longPath.left(254));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FilenameEditTest, DropOfAnInvalidNameIsRefusedWithTheErrorBox) {
    edit->setText(QStringLiteral("/antes.fdb"));
    const QString bracket = folder.path() + QStringLiteral("/[copia]/tavlo.fdb");
    EXPECT_FALSE(drop({bracket})) << "the drag source must see the drop refused";
    EXPECT_EQ(edit->text(), QStringLiteral("/antes.fdb"));
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].icon, ui::BoxIcon::Error);
    EXPECT_EQ(boxes.shown[0].text, "Invalid file name - " + bracket.toStdString() + ".");
}

TEST_F(FilenameEditTest, DragsWithoutFilesAreNotTaken) {
    QMimeData data;
    data.setText(QStringLiteral("/dados/tavlo.fdb"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_FALSE(drop({}));
    EXPECT_EQ(edit->text(), QString());
}

}  // namespace
