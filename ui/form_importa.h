#pragma once

#include <functional>
#include <string>

#include <QMainWindow>
#include <QTimer>

#include "import_context.h"
#include "window_seam.h"

class QCheckBox;
class QLabel;
class QMdiArea;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace ui {

class BevelPanel;
class FileDialogs;
class FilenameEdit;
class ProgressGauge;
class MessageBoxes;
class OutcomeView;

// The program's only window: the tables to copy, the two database files, "Testar Conexão",
// "Importar", "Simular" with the run's options, the status label and the progress gauge. It
// owns the import context, serves it as its window, keeps the two database paths and the
// options in Config.ini in the program folder, and after a run shows its outcome beside it.
class TFormImporta : public QMainWindow, public engine::WindowSeam {
    Q_OBJECT
public:
    // Creates the window and its database objects; nothing is attached yet. Raises when the
    // database client library cannot be bound.
    TFormImporta(std::string programFolder, MessageBoxes& boxes, FileDialogs& dialogs);
    ~TFormImporta() override;

    engine::ImportContext& context() { return context_; }

    // Event handlers.
    void FormShow();
    bool FormCloseQuery() const;
    void FormClose();
    void FilenameEditOrigemChange();
    void FilenameEditDestinoChange();
    void Button1Click();
    void BitBtnImportarClick();
    void ButtonSimularClick();
    void Button2Click();

    // engine::WindowSeam
    void setStatus(const std::string& text) override;
    void setGaugeMinimum(int value) override;
    void setGaugeMaximum(int value) override;
    void setGaugePosition(int value) override;
    int gaugePosition() const override;
    void showPlainMessage(const std::string& text) override;
    void mensagem(const std::string& text, bool information) override;
    bool confirma(const std::string& text) override;
    bool confirmaPadraoNao(const std::string& text) override;
    // A stop asked by SIGINT or SIGTERM: the run in hand ends at a row boundary and the window
    // then closes.
    bool stopRequested() const override;
    void processMessages() override;
    bool isTicked(engine::CheckBox box) const override;
    std::string fileNameOrigem() const override;
    std::string fileNameDestino() const override;
    void setImportEnabled(bool enabled) override;
    void setConnectionTestEnabled(bool enabled) override;
    void openFile(const std::string& folder, const std::string& fileName) override;

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
    void presentOutcome(bool preview);
    // Closes the window once a stop was asked and no run is in progress.
    void closeOnStopRequest();
    // Puts the destination back from the last run's safety copy; true when it was restored.
    bool undoImport(const std::string& copyPath, const std::string& destination);
    // Runs an event's handling; a failure ends it and is shown in the error box.
    void handle(const std::function<void()>& action);
    static void removeQuotes(FilenameEdit* box);

    MessageBoxes& boxes_;
    FileDialogs& dialogs_;
    engine::ImportContext context_;

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
    BevelPanel* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    FilenameEdit* FilenameEditOrigem = nullptr;
    QLabel* Label1 = nullptr;
    FilenameEdit* FilenameEditDestino = nullptr;
    QPushButton* BitBtnImportar = nullptr;
    QPushButton* Button1 = nullptr;
    BevelPanel* PanelCorpo = nullptr;
    QLabel* LabelObs = nullptr;
    ProgressGauge* GaugeImportando = nullptr;
    QMdiArea* ChildArea = nullptr;
    OutcomeView* outcomeView_ = nullptr;
    // True while a safety copy is being restored: like a run, it keeps the window open.
    bool restoring_ = false;
    // Looks for a stop request while the window is idle; during a run the run itself asks.
    QTimer stopWatch_;
};

}  // namespace ui
