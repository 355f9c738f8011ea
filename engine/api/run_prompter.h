#pragma once

#include <optional>
#include <string>

#include "credentials.h"

namespace engine {

// The questions a run or a restore asks.
enum class Question {
    ConfirmRun,                 // the chosen tables will be emptied and imported (Yes by default)
    OpenLog,                    // a log holds entries: open it? (Yes by default)
    ImportWithoutCopy,          // the safety copy failed: import without one? (No by default)
    RestoreCopy,                // replace the destination by its safety copy? (Yes by default)
    RestoreOtherDatabasesCopy,  // the copy was made of another database (No by default)
    RestoreUncheckedCopy,       // the copy has no record to check it against (No by default)
    AdjustSequences,            // set the sequences that are behind their tables' keys (No by default)
};

// True for the questions whose Yes risks data: a box shows No as their default answer, and a
// terminal without a person answers No.
constexpr bool defaultsToNo(Question question) {
    return question == Question::ImportWithoutCopy || question == Question::RestoreOtherDatabasesCopy ||
           question == Question::RestoreUncheckedCopy || question == Question::AdjustSequences;
}

// The message boxes of the engine's commands.
enum class MessageKind {
    Plain,        // captioned with the application title, an OK button and no icon
    Warning,      // Mensagem: "A T E N Ç Ã O" with the exclamation icon
    Information,  // Mensagem: "A V I S O" with the information icon
};

// Asks the user and tells him, for the engine: the window with message boxes, the batch on
// the terminal, tests from a script.
class RunPrompter {
public:
    virtual ~RunPrompter() = default;

    // "C O N F I R M A Ç Ã O" with Yes and No; true only for Yes.
    virtual bool ask(Question question, const std::string& text) = 0;
    virtual void tell(MessageKind kind, const std::string& text) = 0;
    // Asks the desktop to open a file of the given folder with its default program; the result
    // is not awaited.
    virtual void openFile(const std::string& folder, const std::string& fileName) = 0;
    // The server refused the login: asks for another user and password (the password not
    // shown as it is typed). Nothing when the user cancels or there is no one to ask.
    virtual std::optional<Credentials> askLogin() = 0;
};

}  // namespace engine
