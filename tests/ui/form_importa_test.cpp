#include "form_importa.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "filename_edit.h"
#include "import_fixture.h"
#include "progress_gauge.h"
#include "scripted_dialogs.h"
#include "test_database.h"
#include "window_fixture.h"

namespace {

const std::string kTitle(engine::kApplicationTitle);

class FormImportaTest : public ui_test::WindowFixture {
protected:
    const std::string settingsPath = programFolder + "Config.ini";

    ui::FilenameEdit* origem() const { return control<ui::FilenameEdit>("FilenameEditOrigem"); }
    ui::FilenameEdit* destino() const { return control<ui::FilenameEdit>("FilenameEditDestino"); }

    void writeSettings(const std::string& bytes) const { std::ofstream(settingsPath, std::ios::binary) << bytes; }
    std::string settings() const { return test_support::readFile(settingsPath); }

    void showWindow() {
        window->show();
        QCoreApplication::processEvents();
    }
};

QString captionOf(const QWidget* widget) {
    if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) return tabs->tabText(0);
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) return memo->toPlainText();
    return widget->property("text").toString();
}

TEST_F(FormImportaTest, EveryControlHasItsPlaceSizeVisibilityAndCaption) {
    struct Control {
        const char* name;
        const char* parent;
        int x, y, width, height;  // -1: sized to its text
        bool visible;
        const char* caption;
    };
    const Control controls[] = {
        {"PanelCabecalho", "ClientArea", 0, 0, 678, 297, true, ""},
        {"PanelCorpo", "ClientArea", 0, 297, 273, 42, true, ""},
        {"GaugeImportando", "ClientArea", 276, 297, 402, 42, true, ""},
        {"ChildArea", "ClientArea", 273, 297, 3, 42, true, ""},
        {"PageControl", "PanelCabecalho", 1, 1, 676, 193, true, "Merak"},
        {"Panel1", "PanelCabecalho", 1, 152, 676, 144, true, ""},
        {"CheckBoxListaPrecos", "PageMerak", 172, 24, 96, 17, false, "Lista de Preços"},
        {"CheckBoxClientes", "PageMerak", 24, 24, 63, 17, true, "Clientes"},
        {"CheckBoxProdutos", "PageMerak", 24, 44, 63, 17, true, "Produtos"},
        {"CheckBoxFornec", "PageMerak", 24, 64, 96, 17, true, "Fornecedores"},
        {"CheckBoxVendedores", "PageMerak", 24, 85, 96, 17, true, "Vendedores"},
        {"CheckBoxTransportador", "PageMerak", 171, 43, 110, 17, false, "Transportador"},
        {"Button2", "PageMerak", 392, 96, 161, 25, false, "Gera Script UPDATE Email"},
        {"MemoScript", "PageMerak", 416, 16, 185, 89, false, "MemoScript"},
        {"CheckBoxReceber", "PageMerak", 171, 66, 158, 17, false, "Contas Receber"},
        {"CheckBoxPagar", "PageMerak", 171, 89, 158, 17, false, "Contas Pagar"},
        {"Label2", "Panel1", 117, 9, -1, -1, true, "Base de Dados Origem"},
        {"FilenameEditOrigem", "Panel1", 117, 29, 521, 28, true, ""},
        {"Label1", "Panel1", 117, 56, -1, -1, true, "Base de Dados Destino"},
        {"FilenameEditDestino", "Panel1", 117, 79, 521, 28, true, ""},
        {"BitBtnImportar", "Panel1", 18, 63, 93, 44, true, "Importar"},
        {"Button1", "Panel1", 528, 111, 110, 25, true, "Testar Conexão"},
        {"LabelObs", "PanelCorpo", 8, 12, -1, -1, true, "Importação finalizada com sucesso"},
    };
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Importação de Firebird [Tavlo]->[Merak] "));
    EXPECT_EQ(window->size(), QSize(678, 339));
    // Captions as created: LabelObs is given its status text when the window is shown.
    for (const Control& c : controls) {
        const QWidget* widget = control(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(captionOf(widget).toStdString(), c.caption) << c.name;
    }

    showWindow();
    EXPECT_EQ(window->centralWidget()->geometry(), QRect(0, 0, 678, 339));
    for (const Control& c : controls) {
        const QWidget* widget = control(c.name);
        EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), c.parent) << c.name;
        EXPECT_EQ(widget->pos(), QPoint(c.x, c.y)) << c.name;
        QSize size = c.width >= 0 ? QSize(c.width, c.height) : widget->sizeHint();
        // A check box grows to the right when the platform's font needs more room.
        if (qobject_cast<const QCheckBox*>(widget)) size.setWidth(std::max(c.width, widget->sizeHint().width()));
        EXPECT_EQ(widget->size(), size) << c.name;
        EXPECT_EQ(widget->isVisible(), c.visible) << c.name;
    }
    EXPECT_EQ(control<QTabWidget>("PageControl")->count(), 1);
    EXPECT_EQ(control<QTabWidget>("PageControl")->currentWidget(), control("PageMerak"));
    EXPECT_EQ(control<QLabel>("LabelObs")->text(), QStringLiteral("Status da importação"));
}

TEST_F(FormImportaTest, FontsAndColours) {
    struct Font {
        const char* name;
        int pixelSize;
        bool bold;
    };
    const Font fonts[] = {
        {"FormImporta", 11, false},   {"CheckBoxClientes", 11, false},
        {"Button1", 11, false},       {"GaugeImportando", 11, false},
        {"BitBtnImportar", 11, true}, {"LabelObs", 13, true},
        {"Label2", 16, true},         {"FilenameEditOrigem", 16, true},
        {"Label1", 16, true},         {"FilenameEditDestino", 16, true},
    };
    for (const Font& f : fonts) {
        const QWidget* widget = std::string(f.name) == "FormImporta" ? window.get() : control(f.name);
        EXPECT_EQ(widget->font().family(), QStringLiteral("MS Sans Serif")) << f.name;
        EXPECT_EQ(widget->font().pixelSize(), f.pixelSize) << f.name;
        EXPECT_EQ(widget->font().bold(), f.bold) << f.name;
    }
    EXPECT_EQ(control("LabelObs")->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_EQ(window->palette().color(QPalette::Window), window->palette().color(QPalette::Button));
}

TEST_F(FormImportaTest, ImportPictureHasAGreyCopyForTheDisabledButton) {
    const QIcon icon = control<QPushButton>("BitBtnImportar")->icon();
    const QImage normal = icon.pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    ASSERT_EQ(normal.size(), QSize(16, 16));
    ASSERT_EQ(disabled.size(), QSize(16, 16));
    bool yellow = false;
    bool blue = false;
    bool coloured = false;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QColor n = normal.pixelColor(x, y);
            const QColor d = disabled.pixelColor(x, y);
            yellow = yellow || (n.red() > 200 && n.green() > 200 && n.blue() < 100);
            blue = blue || (n.blue() > 200 && n.red() < 60);
            coloured = coloured || (d.alpha() > 0 && (d.red() != d.green() || d.green() != d.blue()));
            EXPECT_EQ(n.alpha() > 0, d.alpha() > 0) << x << "," << y;
        }
    }
    EXPECT_TRUE(yellow);
    EXPECT_TRUE(blue);
    EXPECT_FALSE(coloured);
}

// The name of the control that has the focus; the page control's tab bar stands for it.
std::string focused() {
    QWidget* widget = QApplication::focusWidget();
    if (widget == nullptr) return "(none)";
    if (qobject_cast<QTabBar*>(widget)) widget = widget->parentWidget();
    return widget->objectName().toStdString();
}

TEST_F(FormImportaTest, TabMovesTheFocusInTheWindowsKeyboardOrder) {
    showWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    control("PageControl")->setFocus();

    std::vector<std::string> order{focused()};
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(focused());
    }
    // The window's own order first; the run's options, the preview and the servers' ports only
    // after it.
    EXPECT_EQ(order, (std::vector<std::string>{"PageControl", "CheckBoxClientes", "CheckBoxProdutos", "CheckBoxFornec",
                                               "CheckBoxVendedores", "BitBtnImportar", "FilenameEditDestino",
                                               "FilenameEditOrigem", "Button1", "CheckBoxAtomico",
                                               "CheckBoxCopiaSeguranca", "ButtonSimular", "SpinEditPortaOrigem",
                                               "SpinEditPortaDestino", "PageControl"}));
}

TEST_F(FormImportaTest, EachDatabasesPortPutsItsBoxInTheServersFormAndIsKeptInTheSettings) {
    writeSettings("[Bancos]\r\nOrigem=/dados/tavlo.fdb\r\nDestino=localhost/3051:/dados/merak.fdb\r\n");
    showWindow();
    auto* portaOrigem = control<QSpinBox>("SpinEditPortaOrigem");
    auto* portaDestino = control<QSpinBox>("SpinEditPortaDestino");
    EXPECT_EQ(portaOrigem->value(), 0);
    EXPECT_EQ(portaOrigem->text(), QStringLiteral("padrão"));
    EXPECT_EQ(portaDestino->value(), 3051);
    EXPECT_EQ(destino()->text(), QStringLiteral("localhost/3051:/dados/merak.fdb"));

    portaOrigem->setValue(3050);
    EXPECT_EQ(origem()->text(), QStringLiteral("localhost/3050:/dados/tavlo.fdb"));
    portaDestino->setValue(0);
    EXPECT_EQ(destino()->text(), QStringLiteral("/dados/merak.fdb"));
    // A file chosen while a port is set is named on that server.
    portaDestino->setValue(3052);
    destino()->setText(QStringLiteral("/outros/merak.fdb"));
    EXPECT_EQ(destino()->text(), QStringLiteral("localhost/3052:/outros/merak.fdb"));

    window->close();
    EXPECT_NE(settings().find("Origem=localhost/3050:/dados/tavlo.fdb"), std::string::npos) << settings();
    EXPECT_NE(settings().find("Destino=localhost/3052:/outros/merak.fdb"), std::string::npos) << settings();
}

TEST_F(FormImportaTest, ResizingKeepsTheHeaderHeightAndTheBodyWidths) {
    showWindow();
    window->resize(900, 500);
    QCoreApplication::processEvents();
    struct Region {
        const char* name;
        QRect geometry;
    };
    const Region regions[] = {
        {"PanelCabecalho", QRect(0, 0, 900, 297)},
        {"PageControl", QRect(1, 1, 898, 193)},
        {"Panel1", QRect(1, 152, 898, 144)},
        {"PanelCorpo", QRect(0, 297, 273, 203)},
        {"GaugeImportando", QRect(498, 297, 402, 203)},
        {"ChildArea", QRect(273, 297, 225, 203)},
        {"FilenameEditOrigem", QRect(117, 29, 521, 28)},
    };
    for (const Region& r : regions) EXPECT_EQ(control(r.name)->geometry(), r.geometry) << r.name;

    // The window can be made smaller than designed; what does not fit is cut off.
    window->resize(400, 250);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(400, 250));
    EXPECT_EQ(control("PanelCabecalho")->geometry(), QRect(0, 0, 400, 297));
}

TEST_F(FormImportaTest, WithoutSettingsFileBoxesStartEmptyAndClosingWritesBothKeys) {
    showWindow();
    EXPECT_EQ(origem()->text(), QString());
    EXPECT_EQ(destino()->text(), QString());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(settingsPath));

    EXPECT_TRUE(window->close());
    EXPECT_EQ(settings(), "[Bancos]\r\nOrigem=\r\nDestino=\r\n");
}

TEST_F(FormImportaTest, ShowingRestoresBothPathsWithoutQuotes) {
    writeSettings(
        "; caminhos\r\n[Bancos]\r\nOrigem=\"/dados/tavlo base.fdb\"\r\nDestino= /dados/me\"rak\".fdb \r\n"
        "[Outros]\r\nX=1\r\n");
    showWindow();
    EXPECT_EQ(origem()->text(), QStringLiteral("/dados/tavlo base.fdb"));
    EXPECT_EQ(destino()->text(), QStringLiteral("/dados/merak.fdb"));

    destino()->setText(QStringLiteral("/dados/São Paulo.fdb"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(settings(),
              "; caminhos\r\n[Bancos]\r\nOrigem=/dados/tavlo base.fdb\r\nDestino=/dados/S\xE3o Paulo.fdb\r\n"
              "[Outros]\r\nX=1\r\n");
}

TEST_F(FormImportaTest, QuoteRemovalLeavesTheBarePathAfterOneMoreChange) {
    QSignalSpy changes(origem(), &QLineEdit::textChanged);
    origem()->setText(QStringLiteral("\"/dados/tavlo base.fdb\""));
    EXPECT_EQ(origem()->text(), QStringLiteral("/dados/tavlo base.fdb"));
    EXPECT_EQ(changes.count(), 2);

    origem()->setText(QStringLiteral("/dados/tavlo base.fdb"));
    EXPECT_EQ(changes.count(), 2);

    destino()->setText(QStringLiteral("a\"b\"\"c"));
    EXPECT_EQ(destino()->text(), QStringLiteral("abc"));
}

TEST_F(FormImportaTest, ChosenPathWithABlankIsShownAndSavedBare) {
    showWindow();
    dialogs.answers = {QStringLiteral("/dados/base merak.fdb"), std::nullopt};
    destino()->browse();
    EXPECT_EQ(destino()->text(), QStringLiteral("/dados/base merak.fdb"));
    destino()->browse();
    EXPECT_EQ(destino()->text(), QStringLiteral("/dados/base merak.fdb"));

    EXPECT_TRUE(window->close());
    EXPECT_EQ(settings(), "[Bancos]\r\nOrigem=\r\nDestino=/dados/base merak.fdb\r\n");
}

TEST_F(FormImportaTest, ClosingIsRefusedWhileAnImportRuns) {
    showWindow();
    origem()->setText(QStringLiteral("/dados/tavlo.fdb"));
    window->Importando = true;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(settingsPath));
    EXPECT_TRUE(boxes.shown.empty());

    window->Importando = false;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings(), "[Bancos]\r\nOrigem=/dados/tavlo.fdb\r\nDestino=\r\n");
}

TEST_F(FormImportaTest, SettingsFileThatCannotBeWrittenIsReportedAndTheWindowCloses) {
    std::filesystem::create_directory(settingsPath);
    showWindow();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(window->close());
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0], (ui::BoxContent{kTitle, ui::BoxIcon::Error, "Unable to write to " + settingsPath + ".",
                                              ui::BoxButtons::Ok}));
}

TEST_F(FormImportaTest, ServesTheImportEngine) {
    ui::TFormImporta& seam = *window;
    engine::RunObserver& observer = *window;
    observer.statusChanged("Importando Clientes");
    EXPECT_EQ(control<QLabel>("LabelObs")->text(), QStringLiteral("Importando Clientes"));
    EXPECT_EQ(control("LabelObs")->size(), control("LabelObs")->sizeHint());

    engine::GaugeModel gauge;
    gauge.setMaximum(3);
    gauge.setPosition(5);
    observer.gaugeChanged(gauge);
    EXPECT_EQ(control<ui::ProgressGauge>("GaugeImportando")->position(), 3);
    EXPECT_EQ(control<ui::ProgressGauge>("GaugeImportando")->percent(), 100);

    observer.phaseChanged(engine::RunPhase::Running);
    EXPECT_FALSE(control("BitBtnImportar")->isEnabled());
    EXPECT_FALSE(control("Button1")->isEnabled());
    observer.phaseChanged(engine::RunPhase::Ended);
    EXPECT_TRUE(control("BitBtnImportar")->isEnabled());
    EXPECT_TRUE(control("Button1")->isEnabled());

    origem()->setText(QStringLiteral("/dados/tavlo.fdb"));
    destino()->setText(QStringLiteral(" /dados/merak.fdb"));
    EXPECT_EQ(seam.fileNameOrigem(), "/dados/tavlo.fdb");
    EXPECT_EQ(seam.fileNameDestino(), " /dados/merak.fdb");

    using engine::CheckBox;
    const std::pair<CheckBox, const char*> boxesOfTables[] = {
        {CheckBox::Clientes, "CheckBoxClientes"},
        {CheckBox::Produtos, "CheckBoxProdutos"},
        {CheckBox::ListaPrecos, "CheckBoxListaPrecos"},
        {CheckBox::Fornec, "CheckBoxFornec"},
        {CheckBox::Vendedores, "CheckBoxVendedores"},
        {CheckBox::Receber, "CheckBoxReceber"},
        {CheckBox::Pagar, "CheckBoxPagar"},
    };
    for (const auto& [ticked, name] : boxesOfTables) {
        control<QCheckBox>(name)->setChecked(true);
        for (const auto& [box, other] : boxesOfTables)
            EXPECT_EQ(seam.isTicked(box), box == ticked) << name << " " << other;
        control<QCheckBox>(name)->setChecked(false);
    }
}

TEST_F(FormImportaTest, ButtonsCallConnectionSetupAndTheImportRun) {
    showWindow();
    control<QPushButton>("Button1")->click();
    control<QPushButton>("BitBtnImportar")->click();
    EXPECT_EQ(
        boxes.shown,
        (std::vector<ui::BoxContent>{
            {"A T E N Ç Ã O", ui::BoxIcon::Warning, "Selecione o banco de dados de origem!", ui::BoxButtons::Ok},
            {kTitle, ui::BoxIcon::None, "Marque uma ou mais de uma tabela para ser importado!!", ui::BoxButtons::Ok},
        }));
}

// The run's options and "Simular" sit in the page's free space: wholly on the part of the page
// that Panel1 does not cover, and over no visible control of the window.
TEST_F(FormImportaTest, OptionsAndPreviewButtonSitInTheFreeSpaceOfThePage) {
    showWindow();
    struct Added {
        const char* name;
        const char* caption;
        bool ticked;
    };
    const Added added[] = {
        {"CheckBoxAtomico", "Importar cada tabela por inteiro (tudo ou nada)", false},
        {"CheckBoxCopiaSeguranca", "Fazer cópia de segurança do destino antes de importar", true},
        {"ButtonSimular", "Simular", false},
    };
    const QWidget* panel1 = control("Panel1");
    const QRect panel1Area(panel1->mapTo(window.get(), QPoint(0, 0)), panel1->size());
    std::vector<const QWidget*> others;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const bool isAdded = std::any_of(std::begin(added), std::end(added),
                                         [&](const Added& a) { return widget->objectName() == QLatin1String(a.name); });
        // Leaf controls only: the panels and the page contain the new controls by design.
        if (!isAdded && widget->isVisible() && widget->findChildren<QWidget*>().isEmpty()) others.push_back(widget);
    }
    for (const Added& a : added) {
        const QWidget* widget = control(a.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QStringLiteral("PageMerak")) << a.name;
        EXPECT_TRUE(widget->isVisible()) << a.name;
        EXPECT_TRUE(widget->isEnabled()) << a.name;
        EXPECT_EQ(captionOf(widget).toStdString(), a.caption);
        EXPECT_EQ(widget->property("checked").toBool(), a.ticked) << a.name;
        const QRect area(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
        EXPECT_TRUE(QRect(widget->parentWidget()->mapTo(window.get(), QPoint(0, 0)), widget->parentWidget()->size())
                        .contains(area))
            << a.name;
        EXPECT_FALSE(area.intersects(panel1Area)) << a.name;
        for (const QWidget* other : others) {
            const QRect otherArea(other->mapTo(window.get(), QPoint(0, 0)), other->size());
            EXPECT_FALSE(area.intersects(otherArea)) << a.name << " over " << other->objectName().toStdString();
        }
    }
    for (const Added& a : added)
        for (const Added& b : added)
            if (&a != &b) {
                EXPECT_FALSE(control(a.name)->geometry().intersects(control(b.name)->geometry())) << a.name;
            }
}

TEST_F(FormImportaTest, OptionsReachTheRunAndThePreviewIsOffAfterIt) {
    showWindow();
    control<QCheckBox>("CheckBoxAtomico")->setChecked(true);
    control<QCheckBox>("CheckBoxCopiaSeguranca")->setChecked(false);
    const engine::RunRequest& options = window->lastRequest();

    control<QPushButton>("ButtonSimular")->click();
    EXPECT_EQ(options.mode, engine::RunMode::PreviewAllOrNothing);
    EXPECT_FALSE(options.safetyCopy);

    control<QCheckBox>("CheckBoxAtomico")->setChecked(false);
    control<QCheckBox>("CheckBoxCopiaSeguranca")->setChecked(true);
    control<QPushButton>("BitBtnImportar")->click();
    EXPECT_EQ(options.mode, engine::RunMode::Default);
    EXPECT_TRUE(options.safetyCopy);
    // Both stopped at the empty selection: no outcome to show.
    EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, "Marque uma ou mais de uma tabela para ser importado!!"));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("FormResultado")), nullptr);

    // The preview is disabled with the Import button during a run.
    engine::RunObserver& observer = *window;
    observer.phaseChanged(engine::RunPhase::Running);
    EXPECT_FALSE(control("ButtonSimular")->isEnabled());
    observer.phaseChanged(engine::RunPhase::Ended);
    EXPECT_TRUE(control("ButtonSimular")->isEnabled());
}

TEST_F(FormImportaTest, OptionsAreRememberedInTheSettingsFile) {
    struct Case {
        const char* settingsBefore;  // nullptr: no file
        bool atomicoShown, copiaShown;
        bool atomicoSet, copiaSet;
        const char* settingsAfter;
    };
    const Case cases[] = {
        // Left at their defaults, the options add nothing to the file.
        {nullptr, false, true, false, true, "[Bancos]\r\nOrigem=\r\nDestino=\r\n"},
        {nullptr, false, true, true, false,
         "[Bancos]\r\nOrigem=\r\nDestino=\r\n\r\n[Opcoes]\r\nAtomico=1\r\nCopiaSeguranca=0\r\n"},
        {"[Opcoes]\r\nAtomico=1\r\nCopiaSeguranca=0\r\n", true, false, true, false,
         "[Opcoes]\r\nAtomico=1\r\nCopiaSeguranca=0\r\n\r\n[Bancos]\r\nOrigem=\r\nDestino=\r\n"},
        // Once in the file, an option is written back at its default too.
        {"[Opcoes]\r\nAtomico=1\r\nCopiaSeguranca=0\r\n", true, false, false, true,
         "[Opcoes]\r\nAtomico=0\r\nCopiaSeguranca=1\r\n\r\n[Bancos]\r\nOrigem=\r\nDestino=\r\n"},
        {"[Opcoes]\r\nCopiaSeguranca=0\r\n", false, false, true, false,
         "[Opcoes]\r\nCopiaSeguranca=0\r\nAtomico=1\r\n\r\n[Bancos]\r\nOrigem=\r\nDestino=\r\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(settingsPath);
        if (c.settingsBefore != nullptr) writeSettings(c.settingsBefore);
        window = std::make_unique<ui::TFormImporta>(programFolder, boxes, dialogs);
        showWindow();
        auto* atomico = control<QCheckBox>("CheckBoxAtomico");
        auto* copia = control<QCheckBox>("CheckBoxCopiaSeguranca");
        EXPECT_EQ(atomico->isChecked(), c.atomicoShown) << c.settingsAfter;
        EXPECT_EQ(copia->isChecked(), c.copiaShown) << c.settingsAfter;
        atomico->setChecked(c.atomicoSet);
        copia->setChecked(c.copiaSet);
        EXPECT_TRUE(window->close());
        EXPECT_EQ(settings(), c.settingsAfter);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Runs started from the window, on real databases: clients with two duplicated codes and
// sellers with one, into a destination that holds one seller.
class FormImportaRun : public FormImportaTest {
protected:
    test_support::TestDatabase source{test_support::schemaFile("tavlo-schema.sql") +
                                      "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');"
                                      "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana Maria');"
                                      "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (2, 'Bia');"
                                      "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (2, 'Bia Souza');"
                                      "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (3, 'Caio');"
                                      "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');"
                                      "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');"};
    test_support::TestDatabase destination{test_support::schemaFile("merak-schema.sql") +
                                           "\nINSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');"};

    void SetUp() override {
        showWindow();
        origem()->setText(QString::fromStdString(source.path()));
        destino()->setText(QString::fromStdString(destination.path()));
        control<QCheckBox>("CheckBoxClientes")->setChecked(true);
        control<QCheckBox>("CheckBoxVendedores")->setChecked(true);
    }

    QWidget* outcomeView() const { return window->findChild<QWidget*>(QStringLiteral("FormResultado")); }

    std::vector<std::string> gridRow(int row) const {
        auto* grid = outcomeView()->findChild<QTableWidget*>(QStringLiteral("GridTabelas"));
        std::vector<std::string> cells;
        // The seconds vary from run to run.
        for (int column : {0, 1, 2, 3, 4}) cells.push_back(grid->item(row, column)->text().toStdString());
        return cells;
    }

    // Each refusal group's caption and the tables and keys of its rows.
    std::vector<std::string> refusals() const {
        auto* tree = outcomeView()->findChild<QTreeWidget*>(QStringLiteral("TreeRecusas"));
        std::vector<std::string> lines;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* group = tree->topLevelItem(i);
            lines.push_back(group->text(0).toStdString());
            for (int j = 0; j < group->childCount(); ++j) {
                const QTreeWidgetItem* row = group->child(j);
                lines.push_back("  " + row->text(0).toStdString() + " " + row->text(1).toStdString());
            }
        }
        return lines;
    }

    test_support::ImportFixture::Rows sellers() const {
        return test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR ORDER BY 1");
    }
};

TEST_F(FormImportaRun, PreviewAsksNoConfirmationChangesNothingAndShowsTheRefusalsGrouped) {
    boxes.answers = {false, false};  // do not open the two logs
    control<QPushButton>("ButtonSimular")->click();

    for (const ui::BoxContent& box : boxes.shown) EXPECT_EQ(box.text.find("Confirma ?"), std::string::npos) << box.text;
    EXPECT_TRUE(boxes.answers.empty());
    EXPECT_EQ(window->lastRequest().mode, engine::RunMode::Preview);
    EXPECT_EQ(sellers(), (test_support::ImportFixture::Rows{{"9", "Antigo"}}));
    EXPECT_TRUE(test_support::queryRows(destination, "SELECT CODIGO FROM CLIENTES").empty());
    EXPECT_TRUE(std::filesystem::exists(programFolder + "quorel-simulacao.log"));
    EXPECT_FALSE(std::filesystem::exists(programFolder + "quorel.log"));

    QWidget* view = outcomeView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Resultado da simulação"));
    EXPECT_EQ(gridRow(0), (std::vector<std::string>{"CLIENTES", "0", "5", "2", "3"}));
    EXPECT_EQ(gridRow(1), (std::vector<std::string>{"VENDEDOR", "1", "2", "1", "1"}));
    const std::vector<std::string> groups = refusals();
    ASSERT_EQ(groups.size(), 5U) << testing::PrintToString(groups);
    EXPECT_NE(groups[0].find("— 2 linhas"), std::string::npos) << groups[0];
    EXPECT_EQ(groups[1], "  CLIENTES 1");
    EXPECT_EQ(groups[2], "  CLIENTES 2");
    EXPECT_NE(groups[3].find("— 1 linha"), std::string::npos) << groups[3];
    EXPECT_EQ(groups[4], "  VENDEDOR 1");
    EXPECT_EQ(view->findChildren<QPushButton*>(QStringLiteral("ButtonAbrirLog")).size(), 2);
    EXPECT_TRUE(view->findChild<QWidget*>(QStringLiteral("ButtonDesfazer"))->isHidden());

    // The next click is a real run again: it asks its confirmation.
    control<QCheckBox>("CheckBoxClientes")->setChecked(false);
    control<QCheckBox>("CheckBoxCopiaSeguranca")->setChecked(false);
    boxes.answers = {false};
    control<QPushButton>("BitBtnImportar")->click();
    EXPECT_NE(boxes.shown.back().text.find("Confirma ?"), std::string::npos);
}

TEST_F(FormImportaRun, UndoImportPutsTheDestinationBackFromTheRunsCopy) {
    control<QCheckBox>("CheckBoxClientes")->setChecked(false);
    boxes.answers = {true, false};  // import; do not open the log
    control<QPushButton>("BitBtnImportar")->click();
    ASSERT_EQ(sellers(), (test_support::ImportFixture::Rows{{"1", "Ana"}})) << testing::PrintToString(boxes.texts());

    QWidget* view = outcomeView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Resultado da importação"));
    const QString copyText = view->findChild<QLabel*>(QStringLiteral("LabelCopia"))->text();
    const std::string copyPath = window->lastReport().copy.value().path;
    EXPECT_TRUE(copyText.contains(QString::fromStdString(copyPath))) << copyText.toStdString();
    EXPECT_TRUE(std::filesystem::exists(copyPath));

    boxes.answers = {true};  // restore
    auto* undo = view->findChild<QPushButton*>(QStringLiteral("ButtonDesfazer"));
    undo->click();
    EXPECT_EQ(sellers(), (test_support::ImportFixture::Rows{{"9", "Antigo"}})) << testing::PrintToString(boxes.texts());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(boxes.shown.back().caption, "A V I S O");
}

TEST_F(FormImportaRun, ConferirFromTheOutcomeViewAndBesideSimularShowsEachTablesComparison) {
    control<QCheckBox>("CheckBoxCopiaSeguranca")->setChecked(false);
    boxes.answers = {true, false, false};  // import; do not open the two logs
    control<QPushButton>("BitBtnImportar")->click();
    ASSERT_NE(outcomeView(), nullptr);
    const std::size_t boxesAfterRun = boxes.shown.size();

    // From the outcome view: the run's own databases and tables, nothing asked.
    outcomeView()->findChild<QPushButton*>(QStringLiteral("ButtonConferir"))->click();
    EXPECT_EQ(boxes.shown.size(), boxesAfterRun) << testing::PrintToString(boxes.texts());
    auto* view = window->findChild<QWidget*>(QStringLiteral("FormConferencia"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("LabelTitulo"))->text(),
              QStringLiteral("O destino confere com a origem."));
    auto* grid = view->findChild<QTableWidget*>(QStringLiteral("GridConferencia"));
    ASSERT_EQ(grid->rowCount(), 2);
    auto row = [&](int r) {
        std::vector<std::string> cells;
        for (int column = 0; column < 6; ++column) cells.push_back(grid->item(r, column)->text().toStdString());
        cells.push_back(grid->item(r, 8)->text().toStdString());
        return cells;
    };
    // Of each repeated key the first row was written; the second is missing, explained.
    EXPECT_EQ(row(0), (std::vector<std::string>{"CLIENTES", "3", "0", "2", "2", "0", "confere"}));
    EXPECT_EQ(row(1), (std::vector<std::string>{"VENDEDOR", "1", "0", "1", "1", "0", "confere"}));
    EXPECT_TRUE(std::filesystem::exists(programFolder + "conferencia.csv"));

    // Beside Simular: the window's boxes; a row changed by hand no longer matches.
    destination.run("UPDATE VENDEDOR SET VEN_NOME = 'Outra' WHERE VEN_CODIGO = 1;\nCOMMIT;\n");
    control<QCheckBox>("CheckBoxClientes")->setChecked(false);
    control<QPushButton>("ButtonConferir")->click();
    EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("LabelTitulo"))->text(),
              QStringLiteral("O destino NÃO confere com a origem."));
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(row(0), (std::vector<std::string>{"VENDEDOR", "0", "1", "1", "1", "0", "não confere"}));
    EXPECT_EQ(window->lastVerification().tables.at(0).differences.at(0).destination, "Outra");
    EXPECT_TRUE(control("ButtonConferir")->isEnabled());
    EXPECT_FALSE(window->Importando);
}

TEST_F(FormImportaRun, ASequenceLeftBehindIsShownAfterTheRunAndAjustarSequenciasPutsItRight) {
    // The first client read gets the highest key: the run restarts GEN_CODCLI after the last one.
    source.run("UPDATE CLIENTE SET CODIGO = 90 WHERE NOME = 'Ana';\nCOMMIT;\n");
    control<QCheckBox>("CheckBoxCopiaSeguranca")->setChecked(false);
    boxes.answers = {true, false, false};  // import; do not open the two logs
    control<QPushButton>("BitBtnImportar")->click();
    ASSERT_NE(outcomeView(), nullptr);
    auto* grid = outcomeView()->findChild<QTableWidget*>(QStringLiteral("GridTabelas"));
    EXPECT_EQ(grid->item(0, 6)->text(),
              QStringLiteral("GEN_CODCLI reiniciada em 4; SEQUÊNCIA ATRASADA: maior código 90"));
    auto generator = [&] {
        return test_support::queryRows(destination, "SELECT GEN_ID(GEN_CODCLI, 0) FROM RDB$DATABASE").at(0).at(0);
    };

    control<QPushButton>("ButtonConferir")->click();
    auto* view = window->findChild<QWidget*>(QStringLiteral("FormConferencia"));
    ASSERT_NE(view, nullptr);
    auto* adjust = view->findChild<QPushButton*>(QStringLiteral("ButtonAjustarSequencias"));
    ASSERT_FALSE(adjust->isHidden());

    // No, the question's default, changes nothing.
    const std::size_t before = boxes.shown.size();
    boxes.answers = {false};
    adjust->click();
    ASSERT_EQ(boxes.shown.size(), before + 1);
    EXPECT_TRUE(boxes.shown.back().defaultNo);
    EXPECT_NE(boxes.shown.back().text.find("GEN_CODCLI = 4, maior código em CLIENTES: 90 - ATRASADA, passa a 90"),
              std::string::npos)
        << boxes.shown.back().text;
    EXPECT_EQ(generator(), "4");

    boxes.answers = {true};
    adjust->click();
    EXPECT_EQ(generator(), "90");
    EXPECT_NE(boxes.texts().back().find("GEN_CODCLI: 4 -> 90"), std::string::npos) << boxes.texts().back();
    // The view was compared again: nothing is behind any more.
    EXPECT_TRUE(adjust->isHidden());
    EXPECT_FALSE(window->lastVerification().tables.at(0).sequenceBehind());
}

// The hidden e-mail script command, against a real source database.
class FormImportaEmailScript : public FormImportaTest {
protected:
    std::string scriptPath = programFolder + "UPDATE Email Clientes.SQL";

    void attachSource(const test_support::TestDatabase& database) {
        window->session().IBDBOrigem.setConnectionString(database.connectionString());
        window->session().IBDBOrigem.setParams({"user_name=sysdba", "password=pinewheel"});
    }
    QString memo() const { return control<QPlainTextEdit>("MemoScript")->toPlainText(); }
    void clickButton2() { control<QPushButton>("Button2")->click(); }
};

TEST_F(FormImportaEmailScript, WritesTheScriptFileAndReportsSuccess) {
    test_support::TestDatabase database(
        "CREATE TABLE CLIENTE (CODIGO VARCHAR(10), EMAIL VARCHAR(80));"
        "INSERT INTO CLIENTE VALUES ('0042', 'joão@café.com.br');"
        "INSERT INTO CLIENTE VALUES ('7', NULL);");
    attachSource(database);
    showWindow();
    clickButton2();
    clickButton2();  // a second run replaces the file and the memo's lines

    const std::string line1 = "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='joão@café.com.br' WHERE CLIENTE.CLI_CODIGO=42;";
    const std::string line2 = "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='' WHERE CLIENTE.CLI_CODIGO=7;";
    EXPECT_EQ(test_support::readFile(scriptPath),
              "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='jo\xE3o@caf\xE9.com.br' WHERE CLIENTE.CLI_CODIGO=42;\r\n" + line2 +
                  "\r\n");
    EXPECT_EQ(memo().toStdString(), line1 + "\n" + line2);
    const ui::BoxContent success{kTitle, ui::BoxIcon::None, "Script Gerado com Sucesso!", ui::BoxButtons::Ok};
    EXPECT_EQ(boxes.shown, (std::vector<ui::BoxContent>{success, success}));
}

TEST_F(FormImportaEmailScript, ANullCodeStopsWithTheErrorBoxAndWritesNoFile) {
    test_support::TestDatabase database(
        "CREATE TABLE CLIENTE (CODIGO VARCHAR(10), EMAIL VARCHAR(80));"
        "INSERT INTO CLIENTE VALUES ('1', 'um@x.com');"
        "INSERT INTO CLIENTE VALUES (NULL, 'nulo@x.com');");
    attachSource(database);
    clickButton2();

    EXPECT_FALSE(std::filesystem::exists(scriptPath));
    EXPECT_EQ(memo(), QStringLiteral("UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='um@x.com' WHERE CLIENTE.CLI_CODIGO=1;"));
    EXPECT_EQ(boxes.shown, (std::vector<ui::BoxContent>{{kTitle, ui::BoxIcon::Error,
                                                         "'''' is not a valid integer value.", ui::BoxButtons::Ok}}));
}

TEST_F(FormImportaEmailScript, WithoutAConnectionTheFailureGoesToTheErrorBox) {
    clickButton2();
    EXPECT_FALSE(std::filesystem::exists(scriptPath));
    EXPECT_EQ(memo(), QString());
    EXPECT_EQ(
        boxes.shown,
        (std::vector<ui::BoxContent>{{kTitle, ui::BoxIcon::Error, "Database name is missing.", ui::BoxButtons::Ok}}));
}

}  // namespace
