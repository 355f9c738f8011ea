#include "form_importa.h"

#include <algorithm>
#include <ctime>
#include <tuple>
#include <utility>

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>

#include "aligned_layout.h"
#include "bevel_panel.h"
#include "conference_view.h"
#include "connection_setup.h"
#include "database_server.h"
#include "email_script.h"
#include "file_dialogs.h"
#include "filename_edit.h"
#include "import_run.h"
#include "local_time.h"
#include "message_boxes.h"
#include "outcome_view.h"
#include "output_file.h"
#include "pictures.h"
#include "profile_file.h"
#include "progress_gauge.h"
#include "restore_copy.h"
#include "run_mode.h"
#include "run_report_pdf.h"
#include "sequence_adjustment.h"
#include "settings_file.h"
#include "stop_signals.h"

namespace ui {

namespace {

constexpr int kClientWidth = 678;
constexpr int kClientHeight = 339;
using engine::kAllOrNothingKey;
using engine::kDatabasesSection;
using engine::kDestinoKey;
using engine::kOptionsSection;
using engine::kOrigemKey;
using engine::kSafetyCopyKey;
constexpr int kStopWatchMilliseconds = 200;

using Bevel = BevelPanel::Bevel;
using Edge = AlignedLayout::Edge;

// The window's fonts: MS Sans Serif where the platform has it, else its sans-serif face.
QFont designFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

template <typename Widget>
Widget* named(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// A check box at its place. Where the platform's font is wider than the design's, the box
// grows to the right so that its caption is not cut off.
QCheckBox* checkBox(QWidget* page, const char* name, const char* caption, const QRect& geometry) {
    QCheckBox* box = named(new QCheckBox(QString::fromUtf8(caption), page), name, geometry);
    if (box->sizeHint().width() > geometry.width()) box->resize(box->sizeHint().width(), geometry.height());
    return box;
}

// A label at its place, sized to its text.
QLabel* label(QWidget* parent, const char* name, const char* caption, QPoint place, const QFont& font) {
    auto* result = new QLabel(QString::fromUtf8(caption), parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setFont(font);
    result->move(place);
    result->adjustSize();
    return result;
}

// An option of the settings file: "1" ticked, "0" not.
bool readOption(const engine::ProfileFile& settings, const char* key, bool defaultValue) {
    return settings.readString(kOptionsSection, key, defaultValue ? "1" : "0") == "1";
}

// Writes an option only when it is not at its default or the file already holds it, so that a
// technician who never changes the options keeps the settings file he always had.
void writeOption(const engine::ProfileFile& settings, const char* key, bool value, bool defaultValue) {
    const bool held = settings.readString(kOptionsSection, key, "?") != "?";
    if (held || value != defaultValue) settings.writeString(kOptionsSection, key, value ? "1" : "0");
}

// Puts a window beside the main window, not over it: to its right where the screen has room,
// else to its left, else at the screen's right edge. Platforms that place windows themselves
// (Wayland) ignore it.
void placeBeside(QWidget& window, const QWidget& mainWindow) {
    // Its own size hint (adjustSize would cut it to two thirds of the screen).
    window.resize(window.sizeHint());
    const QRect main = mainWindow.frameGeometry();
    const QScreen* screen = mainWindow.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : main;
    // Never larger than the screen's room, frame included.
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(std::min(window.width(), room.width() - frame.width()),
                  std::min(window.height(), room.height() - frame.height()));
    const int width = window.frameGeometry().width();
    int left = main.right() + 1;
    if (left + width > room.right() + 1)
        left = main.left() - width >= room.left() ? main.left() - width : room.right() + 1 - width;
    const int top = std::min(main.top(), room.bottom() + 1 - window.frameGeometry().height());
    window.move(std::max(left, room.left()), std::max(top, room.top()));
}

}  // namespace

TFormImporta::TFormImporta(std::string programFolder, MessageBoxes& boxes, FileDialogs& dialogs)
    : boxes_(boxes), dialogs_(dialogs), session_(std::move(programFolder), engine::loginFromEnvironment()) {
    setObjectName(QStringLiteral("FormImporta"));
    setWindowTitle(QStringLiteral("Importação de Firebird [Tavlo]->[Merak] "));
    setFont(designFont(11, false));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->resize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    createHeader(client);
    createBody(client);
    setFocusOrder();
    resize(kClientWidth, kClientHeight);

    connect(&stopWatch_, &QTimer::timeout, this, &TFormImporta::closeOnStopRequest);
    stopWatch_.start(kStopWatchMilliseconds);
}

TFormImporta::~TFormImporta() = default;

void TFormImporta::createHeader(QWidget* client) {
    PanelCabecalho =
        named(new BevelPanel(Bevel::Raised, Bevel::None, client), "PanelCabecalho", QRect(0, 0, kClientWidth, 297));
    auto* layout = new AlignedLayout(PanelCabecalho);
    const int bevel = PanelCabecalho->bevelWidth();
    layout->setContentsMargins(bevel, bevel, bevel, bevel);

    PageControl = named(new QTabWidget(PanelCabecalho), "PageControl", QRect(1, 1, 676, 193));
    createPage();
    layout->addWidget(PageControl, Edge::Top);

    // Created after the page control, so it lies above the page control's lowest pixels.
    Panel1 = named(new BevelPanel(Bevel::Lowered, Bevel::Raised, PanelCabecalho), "Panel1", QRect(1, 152, 676, 144));
    createFilePanel();
    layout->addWidget(Panel1, Edge::Bottom);
}

void TFormImporta::createPage() {
    PageMerak = new QWidget;
    PageMerak->setObjectName(QStringLiteral("PageMerak"));
    PageControl->addTab(PageMerak, QStringLiteral("Merak"));

    CheckBoxListaPrecos = checkBox(PageMerak, "CheckBoxListaPrecos", "Lista de Preços", QRect(172, 24, 96, 17));
    CheckBoxClientes = checkBox(PageMerak, "CheckBoxClientes", "Clientes", QRect(24, 24, 63, 17));
    CheckBoxProdutos = checkBox(PageMerak, "CheckBoxProdutos", "Produtos", QRect(24, 44, 63, 17));
    CheckBoxFornec = checkBox(PageMerak, "CheckBoxFornec", "Fornecedores", QRect(24, 64, 96, 17));
    CheckBoxVendedores = checkBox(PageMerak, "CheckBoxVendedores", "Vendedores", QRect(24, 85, 96, 17));
    CheckBoxTransportador = checkBox(PageMerak, "CheckBoxTransportador", "Transportador", QRect(171, 43, 110, 17));
    Button2 = named(new QPushButton(QStringLiteral("Gera Script UPDATE Email"), PageMerak), "Button2",
                    QRect(392, 96, 161, 25));
    MemoScript =
        named(new QPlainTextEdit(QStringLiteral("MemoScript"), PageMerak), "MemoScript", QRect(416, 16, 185, 89));
    CheckBoxReceber = checkBox(PageMerak, "CheckBoxReceber", "Contas Receber", QRect(171, 66, 158, 17));
    CheckBoxPagar = checkBox(PageMerak, "CheckBoxPagar", "Contas Pagar", QRect(171, 89, 158, 17));

    // The run's options and the preview, in the page's free space right of the tables.
    CheckBoxAtomico = checkBox(PageMerak, "CheckBoxAtomico", "Importar cada tabela por inteiro (tudo ou nada)",
                               QRect(172, 24, 300, 17));
    CheckBoxCopiaSeguranca = checkBox(PageMerak, "CheckBoxCopiaSeguranca",
                                      "Fazer cópia de segurança do destino antes de importar", QRect(172, 44, 300, 17));
    CheckBoxCopiaSeguranca->setChecked(true);
    ButtonSimular =
        named(new QPushButton(QStringLiteral("Simular"), PageMerak), "ButtonSimular", QRect(172, 77, 93, 25));
    ButtonSimular->setToolTip(QStringLiteral(
        "Faz a importação das tabelas marcadas sem gravar nada no destino e mostra o que seria recusado"));

    ButtonConferir =
        named(new QPushButton(QStringLiteral("Conferir"), PageMerak), "ButtonConferir", QRect(272, 77, 93, 25));
    ButtonConferir->setToolTip(QStringLiteral(
        "Compara cada registro das tabelas marcadas do destino com o que a importação faz da origem, sem gravar nada"));
    // Outside the window's keyboard order, which stays as it was; reached by the mouse.
    ButtonConferir->setFocusPolicy(Qt::ClickFocus);

    // Controls kept for commands and tables that the window does not offer.
    for (QWidget* hidden : std::initializer_list<QWidget*>{CheckBoxListaPrecos, CheckBoxTransportador, Button2,
                                                           MemoScript, CheckBoxReceber, CheckBoxPagar})
        hidden->hide();

    connect(Button2, &QPushButton::clicked, this, &TFormImporta::Button2Click);
    connect(ButtonSimular, &QPushButton::clicked, this, &TFormImporta::ButtonSimularClick);
    connect(ButtonConferir, &QPushButton::clicked, this, &TFormImporta::ButtonConferirClick);
}

void TFormImporta::createFilePanel() {
    const QFont boxFont = designFont(16, true);
    Label2 = label(Panel1, "Label2", "Base de Dados Origem", QPoint(117, 9), boxFont);
    FilenameEditOrigem =
        named(new FilenameEdit(dialogs_, boxes_, Panel1), "FilenameEditOrigem", QRect(117, 29, 521, 28));
    FilenameEditOrigem->setFont(boxFont);
    Label1 = label(Panel1, "Label1", "Base de Dados Destino", QPoint(117, 56), boxFont);
    FilenameEditDestino =
        named(new FilenameEdit(dialogs_, boxes_, Panel1), "FilenameEditDestino", QRect(117, 79, 521, 28));
    FilenameEditDestino->setFont(boxFont);
    // Labels lie beneath the boxes they touch.
    Label1->lower();
    Label2->lower();
    auto portControl = [&](const char* labelName, const char* name, int top, const QString& database) {
        QLabel* caption = label(Panel1, labelName, "Porta:", QPoint(520, top + 3), designFont(11, true));
        auto* port = named(new QSpinBox(Panel1), name, QRect(568, top, 70, 21));
        port->setRange(0, 65535);
        port->setSpecialValueText(QStringLiteral("padrão"));
        port->setToolTip(QStringLiteral("Porta do servidor Firebird deste computador que abre o banco de %1 "
                                        "(padrão: a porta padrão do servidor, 3050)")
                             .arg(database));
        caption->setBuddy(port);
        return std::pair{caption, port};
    };
    std::tie(LabelPortaOrigem, SpinEditPortaOrigem) =
        portControl("LabelPortaOrigem", "SpinEditPortaOrigem", 5, QStringLiteral("origem"));
    std::tie(LabelPortaDestino, SpinEditPortaDestino) =
        portControl("LabelPortaDestino", "SpinEditPortaDestino", 57, QStringLiteral("destino"));

    BitBtnImportar = named(new QPushButton(importPicture(), QStringLiteral("Importar"), Panel1), "BitBtnImportar",
                           QRect(18, 63, 93, 44));
    BitBtnImportar->setIconSize(QSize(16, 16));
    BitBtnImportar->setFont(designFont(11, true));
    Button1 = named(new QPushButton(QStringLiteral("Testar Conexão"), Panel1), "Button1", QRect(528, 111, 110, 25));

    connect(FilenameEditOrigem, &QLineEdit::textChanged, this, &TFormImporta::FilenameEditOrigemChange);
    connect(FilenameEditDestino, &QLineEdit::textChanged, this, &TFormImporta::FilenameEditDestinoChange);
    connect(SpinEditPortaOrigem, &QSpinBox::valueChanged, this,
            [this] { applyPort(FilenameEditOrigem, SpinEditPortaOrigem); });
    connect(SpinEditPortaDestino, &QSpinBox::valueChanged, this,
            [this] { applyPort(FilenameEditDestino, SpinEditPortaDestino); });
    connect(BitBtnImportar, &QPushButton::clicked, this, &TFormImporta::BitBtnImportarClick);
    connect(Button1, &QPushButton::clicked, this, &TFormImporta::Button1Click);
}

void TFormImporta::createBody(QWidget* client) {
    PanelCorpo = named(new BevelPanel(Bevel::None, Bevel::None, client), "PanelCorpo", QRect(0, 297, 273, 42));
    LabelObs = label(PanelCorpo, "LabelObs", "Importação finalizada com sucesso", QPoint(8, 12), designFont(13, true));
    QPalette purple = LabelObs->palette();
    purple.setColor(QPalette::WindowText, QColor(128, 0, 128));
    LabelObs->setPalette(purple);

    GaugeImportando = named(new ProgressGauge(client), "GaugeImportando", QRect(276, 297, 402, 42));

    // The empty child area of the frame: no child window is ever opened in it.
    ChildArea = named(new QMdiArea(client), "ChildArea", QRect(273, 297, 3, 42));
    ChildArea->setFocusPolicy(Qt::NoFocus);

    auto* layout = new AlignedLayout(client);
    layout->addWidget(PanelCabecalho, Edge::Top);
    layout->addWidget(PanelCorpo, Edge::Left);
    layout->addWidget(GaugeImportando, Edge::Right);
    layout->addWidget(ChildArea, Edge::Client);
}

void TFormImporta::setFocusOrder() {
    // The page control, the page's tables, then the controls of Panel1, and only then the run's
    // options and the preview, so that Tab from the tables reaches "Importar" directly; hidden
    // ones are skipped.
    QWidget* const order[] = {PageControl,
                              CheckBoxListaPrecos,
                              CheckBoxClientes,
                              CheckBoxProdutos,
                              CheckBoxFornec,
                              CheckBoxVendedores,
                              CheckBoxTransportador,
                              Button2,
                              MemoScript,
                              CheckBoxReceber,
                              CheckBoxPagar,
                              BitBtnImportar,
                              FilenameEditDestino,
                              FilenameEditOrigem,
                              Button1,
                              CheckBoxAtomico,
                              CheckBoxCopiaSeguranca,
                              ButtonSimular,
                              SpinEditPortaOrigem,
                              SpinEditPortaDestino};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

std::string TFormImporta::settingsPath() const { return session_.programFolder + engine::kSettingsFileName; }

void TFormImporta::handle(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& failure) {
        boxes_.showError(failure.what());
    }
}

// Events.

void TFormImporta::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Spontaneous show events come from restoring a minimised window, not from showing it.
    if (!event->spontaneous()) FormShow();
}

void TFormImporta::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void TFormImporta::FormShow() {
    handle([this] {
        statusChanged("Status da importação");
        Importando = false;
        const engine::ProfileFile settings(settingsPath());
        const std::string origem = settings.readString(kDatabasesSection, kOrigemKey, "");
        const std::string destino = settings.readString(kDatabasesSection, kDestinoKey, "");
        // The port controls first, so that the boxes keep the server form they were saved with.
        SpinEditPortaOrigem->setValue(engine::serverPortOf(origem));
        SpinEditPortaDestino->setValue(engine::serverPortOf(destino));
        FilenameEditOrigem->setText(QString::fromStdString(origem));
        FilenameEditDestino->setText(QString::fromStdString(destino));
        CheckBoxAtomico->setChecked(readOption(settings, kAllOrNothingKey, false));
        CheckBoxCopiaSeguranca->setChecked(readOption(settings, kSafetyCopyKey, true));
    });
}

bool TFormImporta::FormCloseQuery() const { return !Importando && !restoring_; }

void TFormImporta::FormClose() {
    handle([this] {
        const engine::ProfileFile settings(settingsPath());
        settings.writeString(kDatabasesSection, kOrigemKey, fileNameOrigem());
        settings.writeString(kDatabasesSection, kDestinoKey, fileNameDestino());
        writeOption(settings, kAllOrNothingKey, CheckBoxAtomico->isChecked(), false);
        writeOption(settings, kSafetyCopyKey, CheckBoxCopiaSeguranca->isChecked(), true);
    });
}

void TFormImporta::removeQuotes(FilenameEdit* box) { box->setText(box->text().remove(u'"')); }

void TFormImporta::applyPort(FilenameEdit* box, const QSpinBox* port) {
    const std::string text = box->text().toStdString();
    if (text.empty() || engine::serverPortOf(text) == port->value()) return;
    box->setText(QString::fromStdString(engine::withServerPort(text, port->value())));
}

void TFormImporta::FilenameEditOrigemChange() {
    removeQuotes(FilenameEditOrigem);
    applyPort(FilenameEditOrigem, SpinEditPortaOrigem);
}

void TFormImporta::FilenameEditDestinoChange() {
    removeQuotes(FilenameEditDestino);
    applyPort(FilenameEditDestino, SpinEditPortaDestino);
}

void TFormImporta::Button1Click() {
    handle([this] { engine::Connectar(session_, fileNameOrigem(), fileNameDestino(), *this, true); });
}

void TFormImporta::BitBtnImportarClick() { run(false); }

void TFormImporta::ButtonSimularClick() { run(true); }

void TFormImporta::ButtonConferirClick() {
    conferir({fileNameOrigem(), fileNameDestino(), [this](engine::CheckBox box) { return isTicked(box); }});
}

void TFormImporta::conferir(const engine::VerificationRequest& request) {
    lastVerificationRequest_ = request;
    handle([this] {
        lastVerification_ =
            engine::verifyDestination(session_.programFolder, session_.login, lastVerificationRequest_, *this, *this);
        Importando = false;
        if (!lastVerification_.started && lastVerification_.failure.empty()) return;
        if (conferenceView_ == nullptr)
            conferenceView_ = new ConferenceView(
                this,
                [this](const std::string& path) {
                    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
                },
                [this] { adjustSequences(); });
        const bool firstShown = !conferenceView_->isVisible();
        conferenceView_->present(lastVerification_);
        if (firstShown) placeBeside(*conferenceView_, *this);
        conferenceView_->show();
        conferenceView_->raise();
    });
    closeOnStopRequest();
}

void TFormImporta::adjustSequences() {
    const engine::VerificationRequest request = lastVerificationRequest_;
    bool adjusted = false;
    handle([&] {
        adjusted = engine::adjustSequences(session_.programFolder, session_.login, request, *this, *this).started;
    });
    if (adjusted) conferir(request);
}

void TFormImporta::run(bool preview) {
    lastRequest_ = {fileNameOrigem(), fileNameDestino(), [this](engine::CheckBox box) { return isTicked(box); },
                    engine::runMode(preview, CheckBoxAtomico->isChecked()), CheckBoxCopiaSeguranca->isChecked()};
    handle([&] {
        lastReport_ = engine::runImport(session_, lastRequest_, *this, *this);
        Importando = false;
        if (!lastReport_.failure.empty()) throw std::runtime_error(lastReport_.failure);
        presentOutcome();
    });
    closeOnStopRequest();
}

void TFormImporta::closeOnStopRequest() {
    if (platform::stopRequested() && FormCloseQuery()) close();
}

void TFormImporta::presentOutcome() {
    // A run that stopped before its confirmation leaves nothing to show.
    if (lastReport_.tables.empty() && !lastReport_.copy) return;
    RunReport report;
    report.preview = engine::isPreview(lastReport_.mode);
    report.origemServer = lastReport_.origemServer;
    report.destinoServer = lastReport_.destinoServer;
    report.outcomes = lastReport_.tables;
    report.refusedRows = lastReport_.refusedRows;
    report.refusedRowsLeftOut = lastReport_.refusedRowsLeftOut;
    for (const engine::LogReport& log : lastReport_.logs)
        if (log.entries > 0) report.logs.push_back({log.folder, log.fileName});
    if (const std::optional<engine::LogReport>& refusals = lastReport_.refusals; refusals && refusals->entries > 0)
        report.refusals = RunReport::Log{refusals->folder, refusals->fileName};
    if (const std::optional<engine::SafetyCopy>& copy = lastReport_.copy)
        report.copy = RunReport::Copy{copy->path, copy->database, static_cast<std::uintmax_t>(copy->bytes)};

    const bool firstShown = outcomeView_ == nullptr;
    if (firstShown)
        outcomeView_ = new OutcomeView(
            this, [this](const RunReport::Log& log) { openFile(log.folder, log.fileName); },
            [this](const RunReport::Copy& copy) { return undoImport(copy.path, copy.database); },
            [this] { saveReport(); });
    // The comparison of the run's own destination, source and tables.
    outcomeView_->setVerify([this, request = engine::VerificationRequest{lastRequest_.origem, lastRequest_.destino,
                                                                         lastRequest_.tables}] { conferir(request); });
    outcomeView_->present(report);
    if (firstShown) placeBeside(*outcomeView_, *this);
    outcomeView_->show();
    outcomeView_->raise();
}

void TFormImporta::saveReport() {
    char proposed[40];
    const std::tm started = platform::localTime(lastReport_.startedAt);
    std::strftime(proposed, sizeof proposed, "relatorio-%Y%m%d-%H%M.pdf", &started);
    const std::optional<QString> path = dialogs_.saveFile(outcomeView_, {QStringLiteral("Salvar relatório"),
                                                                         {QStringLiteral("PDF (*.pdf)")},
                                                                         QStringLiteral("PDF (*.pdf)"),
                                                                         QString(),
                                                                         QString::fromLatin1(proposed)});
    if (!path) return;
    // The dialog asked before replacing a file; a database or a copy is never replaced.
    const engine::OutputFileCheck check = engine::checkOutputFile(
        path->toStdString(), {engine::fileOf(lastRequest_.origem), engine::fileOf(lastRequest_.destino)});
    if (!check.refusal.empty()) {
        tell(engine::MessageKind::Warning, check.refusal);
        return;
    }
    handle([&] {
        report::writeRunReport(path->toStdString(), lastReport_, {lastRequest_.origem, lastRequest_.destino});
    });
}

bool TFormImporta::undoImport(const std::string& copyPath, const std::string& destination) {
    // The restore shows its progress through the window's messages: no run may start under it.
    restoring_ = true;
    setImportEnabled(false);
    setConnectionTestEnabled(false);
    bool restored = false;
    handle([&] {
        restored = engine::restoreSafetyCopy(engine::Progress(session_.gauge, *this), *this, session_.login, copyPath,
                                             destination);
    });
    setImportEnabled(true);
    setConnectionTestEnabled(true);
    restoring_ = false;
    closeOnStopRequest();
    return restored;
}

void TFormImporta::Button2Click() {
    handle([this] {
        MemoScript->clear();
        std::string script;
        engine::readEmailScript(session_.IBQueryOrigem, [&](const std::string& line) {
            script += line + "\r\n";
            MemoScript->appendPlainText(QString::fromStdString(line));
        });
        engine::writeEmailScript(session_.programFolder + std::string(engine::kEmailScriptFileName), script);
        boxes_.showPlain("Script Gerado com Sucesso!");
    });
}

// The window as the import engine sees it.

void TFormImporta::phaseChanged(engine::RunPhase phase) {
    const bool running = phase == engine::RunPhase::Running;
    if (running) Importando = true;
    setImportEnabled(!running);
    // A connection test during the run would replace the run's connections underneath it.
    setConnectionTestEnabled(!running);
}

void TFormImporta::statusChanged(const std::string& text) {
    LabelObs->setText(QString::fromStdString(text));
    LabelObs->adjustSize();
}

void TFormImporta::gaugeChanged(const engine::GaugeModel& gauge) {
    GaugeImportando->setMinimum(gauge.minimum());
    GaugeImportando->setMaximum(gauge.maximum());
    GaugeImportando->setPosition(gauge.position());
}

void TFormImporta::processMessages() { QCoreApplication::processEvents(); }

bool TFormImporta::stopRequested() const { return platform::stopRequested(); }

bool TFormImporta::ask(engine::Question question, const std::string& text) {
    return engine::defaultsToNo(question) ? boxes_.ConfirmaPadraoNao(text) : boxes_.Confirma(text);
}

void TFormImporta::tell(engine::MessageKind kind, const std::string& text) {
    switch (kind) {
    case engine::MessageKind::Plain:
        boxes_.showPlain(text);
        break;
    case engine::MessageKind::Warning:
        boxes_.Mensagem(text, false);
        break;
    case engine::MessageKind::Information:
        boxes_.Mensagem(text, true);
        break;
    }
}

bool TFormImporta::isTicked(engine::CheckBox box) const {
    switch (box) {
    case engine::CheckBox::Clientes:
        return CheckBoxClientes->isChecked();
    case engine::CheckBox::Produtos:
        return CheckBoxProdutos->isChecked();
    case engine::CheckBox::ListaPrecos:
        return CheckBoxListaPrecos->isChecked();
    case engine::CheckBox::Fornec:
        return CheckBoxFornec->isChecked();
    case engine::CheckBox::Vendedores:
        return CheckBoxVendedores->isChecked();
    case engine::CheckBox::Receber:
        return CheckBoxReceber->isChecked();
    case engine::CheckBox::Pagar:
        return CheckBoxPagar->isChecked();
    }
    return false;
}

std::string TFormImporta::fileNameOrigem() const { return FilenameEditOrigem->text().toStdString(); }

std::string TFormImporta::fileNameDestino() const { return FilenameEditDestino->text().toStdString(); }

void TFormImporta::setImportEnabled(bool enabled) {
    BitBtnImportar->setEnabled(enabled);
    ButtonSimular->setEnabled(enabled);
    ButtonConferir->setEnabled(enabled);
    // The last outcome's undo would restore the destination under the run.
    if (outcomeView_ != nullptr) outcomeView_->setEnabled(enabled);
}

void TFormImporta::setConnectionTestEnabled(bool enabled) { Button1->setEnabled(enabled); }

std::optional<engine::Credentials> TFormImporta::askLogin() { return boxes_.askLogin(); }

void TFormImporta::openFile(const std::string& folder, const std::string& fileName) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder + fileName)));
}

}  // namespace ui
