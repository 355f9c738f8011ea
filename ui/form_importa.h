#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QTimer>

#include "import_session.h"
#include "run_observer.h"
#include "run_prompter.h"
#include "run_report.h"
#include "run_request.h"
#include "verification_report.h"
#include "verification_run.h"

class QCheckBox;
class QLabel;
class QMdiArea;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace ui {

class BevelPanel;
class ConferenceView;
class FileDialogs;
class FilenameEdit;
class ProgressGauge;
class MessageBoxes;
class OutcomeView;

// The program's only window: the tables to copy, the two database files, "Testar Conexão",
// "Importar", "Simular" with the run's options, "Conferir", the status label and the progress gauge. It
// owns the session's database objects, follows the engine's runs as their observer and
// answers their questions with message boxes, keeps the two database paths and the options in
// Config.ini in the program folder, and after a run shows its outcome beside it.
class TFormImporta : public QMainWindow, public engine::RunObserver, public engine::RunPrompter {
    Q_OBJECT
public:
    // Creates the window and its database objects; nothing is attached yet. Raises when the
    // database client library cannot be bound.
    TFormImporta(std::string programFolder, MessageBoxes& boxes, FileDialogs& dialogs);
    ~TFormImporta() override;

    engine::ImportSession& session() { return session_; }
    // The request and the report of the last import run or preview.
    const engine::RunRequest& lastRequest() const { return lastRequest_; }
    const engine::RunReport& lastReport() const { return lastReport_; }
    // The report of the last comparison of the destination with the source.
    const engine::VerificationReport& lastVerification() const { return lastVerification_; }

    // True from the confirmation of an import run until its end; the window refuses to close.
    bool Importando = false;

    // Event handlers.
    void FormShow();
    bool FormCloseQuery() const;
    void FormClose();
    void FilenameEditOrigemChange();
    void FilenameEditDestinoChange();
    void Button1Click();
    void BitBtnImportarClick();
    void ButtonSimularClick();
    void ButtonConferirClick();
    void Button2Click();

    // engine::RunObserver: the status label, the gauge and the commands follow the run.
    void phaseChanged(engine::RunPhase phase) override;
    void statusChanged(const std::string& text) override;
    void gaugeChanged(const engine::GaugeModel& gauge) override;
    void tableStarted(const engine::TableOutcome&) override {}
    void rowDone(const engine::TableOutcome&) override {}
    void tableEnded(const engine::TableOutcome&) override {}
    void processMessages() override;
    // A stop asked by SIGINT or SIGTERM: the run in hand ends at a row boundary and the window
    // then closes.
    bool stopRequested() const override;

    // engine::RunPrompter: the message boxes.
    bool ask(engine::Question question, const std::string& text) override;
    void tell(engine::MessageKind kind, const std::string& text) override;
    void openFile(const std::string& folder, const std::string& fileName) override;
    // The login dialog.
    std::optional<engine::Credentials> askLogin() override;

    bool isTicked(engine::CheckBox box) const;
    std::string fileNameOrigem() const;
    std::string fileNameDestino() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createHeader(QWidget* client);
    void createPage();
    void createFilePanel();
    void createBody(QWidget* client);
    void setFocusOrder();
    std::string settingsPath() const;
    // Runs the import engine with the window's options, a preview or a real run, and shows
    // the outcome when the run got past its confirmation.
    void run(bool preview);
    void presentOutcome();
    // Compares the destination with the source and shows the comparison's view when it started.
    void conferir(const engine::VerificationRequest& request);
    // "Ajustar sequências" of the comparison's view: puts right the sequences of the last
    // comparison's destination that are behind, then compares again.
    void adjustSequences();
    // BitBtnImportar, ButtonSimular and the outcome view; Button1 ("Testar Conexão").
    void setImportEnabled(bool enabled);
    void setConnectionTestEnabled(bool enabled);
    // Closes the window once a stop was asked and no run is in progress.
    void closeOnStopRequest();
    // Puts the destination back from the last run's safety copy; true when it was restored.
    // "Salvar relatório…": the last run's report as a PDF where the user chooses.
    void saveReport();
    bool undoImport(const std::string& copyPath, const std::string& destination);
    // Runs an event's handling; a failure ends it and is shown in the error box.
    void handle(const std::function<void()>& action);
    static void removeQuotes(FilenameEdit* box);
    // Keeps a file box's server port as its port control says: the box shows the server form
    // ("localhost/3051:/path") for any port but the default one.
    static void applyPort(FilenameEdit* box, const QSpinBox* port);

    MessageBoxes& boxes_;
    FileDialogs& dialogs_;
    engine::ImportSession session_;
    engine::RunRequest lastRequest_;
    engine::RunReport lastReport_;
    engine::VerificationReport lastVerification_;
    engine::VerificationRequest lastVerificationRequest_;

    BevelPanel* PanelCabecalho = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* PageMerak = nullptr;
    QCheckBox* CheckBoxListaPrecos = nullptr;
    QCheckBox* CheckBoxClientes = nullptr;
    QCheckBox* CheckBoxProdutos = nullptr;
    QCheckBox* CheckBoxFornec = nullptr;
    QCheckBox* CheckBoxVendedores = nullptr;
    QCheckBox* CheckBoxTransportador = nullptr;
    QPushButton* Button2 = nullptr;
    QPlainTextEdit* MemoScript = nullptr;
    QCheckBox* CheckBoxReceber = nullptr;
    QCheckBox* CheckBoxPagar = nullptr;
    QCheckBox* CheckBoxAtomico = nullptr;
    QCheckBox* CheckBoxCopiaSeguranca = nullptr;
    QPushButton* ButtonSimular = nullptr;
    QPushButton* ButtonConferir = nullptr;
    BevelPanel* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    FilenameEdit* FilenameEditOrigem = nullptr;
    QLabel* Label1 = nullptr;
    FilenameEdit* FilenameEditDestino = nullptr;
    // The port of each database's Firebird server on this machine; "padrão" for its default.
    QLabel* LabelPortaOrigem = nullptr;
    QSpinBox* SpinEditPortaOrigem = nullptr;
    QLabel* LabelPortaDestino = nullptr;
    QSpinBox* SpinEditPortaDestino = nullptr;
    QPushButton* BitBtnImportar = nullptr;
    QPushButton* Button1 = nullptr;
    BevelPanel* PanelCorpo = nullptr;
    QLabel* LabelObs = nullptr;
    ProgressGauge* GaugeImportando = nullptr;
    QMdiArea* ChildArea = nullptr;
    OutcomeView* outcomeView_ = nullptr;
    ConferenceView* conferenceView_ = nullptr;
    // True while a safety copy is being restored: like a run, it keeps the window open.
    bool restoring_ = false;
    // Looks for a stop request while the window is idle; during a run the run itself asks.
    QTimer stopWatch_;
};

}  // namespace ui
