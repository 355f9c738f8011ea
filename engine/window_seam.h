#pragma once

#include <string>

namespace engine {

// The check boxes of the window that the import run reads.
enum class CheckBox { Clientes, Produtos, ListaPrecos, Fornec, Vendedores, Receber, Pagar };

// Everything the engine needs from the window. The window implements it with widgets, the
// batch front end with the terminal, and tests with a script; no engine file sees a widget.
class WindowSeam {
public:
    virtual ~WindowSeam() = default;

    // The status label LabelObs.
    virtual void setStatus(const std::string& text) = 0;

    // The progress gauge GaugeImportando; the position is kept within minimum..maximum.
    virtual void setGaugeMinimum(int value) = 0;
    virtual void setGaugeMaximum(int value) = 0;
    virtual void setGaugePosition(int value) = 0;
    virtual int gaugePosition() const = 0;

    // A modal box captioned with the application title, with an OK button and no icon.
    virtual void showPlainMessage(const std::string& text) = 0;
    // "A V I S O" with the information icon when information is set, else "A T E N Ç Ã O"
    // with the exclamation icon.
    virtual void mensagem(const std::string& text, bool information) = 0;
    // "C O N F I R M A Ç Ã O" with Yes and No; true only for Yes.
    virtual bool confirma(const std::string& text) = 0;
    // The same question box with No as its default answer, for questions where Yes risks
    // data (importing without a safety copy, restoring a copy); a terminal without a person
    // answers No.
    virtual bool confirmaPadraoNao(const std::string& text) = 0;

    // True once the user or the system asked the run to stop (Ctrl+C, SIGTERM): the run
    // finishes the row in hand, does the table's bookkeeping and reaches no further table.
    virtual bool stopRequested() const = 0;

    // Processes the pending window messages once (repaints and user input).
    virtual void processMessages() = 0;

    virtual bool isTicked(CheckBox box) const = 0;
    // The texts of the file-name boxes FilenameEditOrigem and FilenameEditDestino.
    virtual std::string fileNameOrigem() const = 0;
    virtual std::string fileNameDestino() const = 0;

    // BitBtnImportar and Button1 ("Testar Conexão").
    virtual void setImportEnabled(bool enabled) = 0;
    virtual void setConnectionTestEnabled(bool enabled) = 0;

    // Asks the desktop to open a file of the given folder with its default program; the
    // result is not awaited.
    virtual void openFile(const std::string& folder, const std::string& fileName) = 0;
};

}  // namespace engine
