#pragma once

#include <optional>
#include <string>
#include <vector>

#include "run_observer.h"
#include "run_prompter.h"
#include "server_login.h"
#include "verification_run.h"

namespace engine {

// One destination sequence against the highest key of its table.
struct SequenceAdjustment {
    std::string sequence;
    std::string table;
    long long value = 0;                  // its current value when read
    std::optional<long long> highestKey;  // none: the table is empty
    bool changed = false;                 // set to the highest key

    bool behind() const { return highestKey && value < *highestKey; }
};

// What "Ajustar sequências" did.
struct SequenceAdjustmentReport {
    bool started = false;    // false: it could not connect or was not admitted
    bool confirmed = false;  // the question was answered Yes
    std::vector<SequenceAdjustment> sequences;
    std::string failure;  // why no sequence was changed, when setting them failed

    // A sequence still stands below a key its table holds.
    bool anyBehind() const {
        for (const SequenceAdjustment& sequence : sequences)
            if (sequence.behind() && !sequence.changed) return true;
        return false;
    }
};

// Puts right the key sequences of the chosen destination tables that stand below the highest
// key their table holds, so that Merak's next new record draws a key after it. Admitted as a run
// is (refused while a run or a comparison holds the destination, whose lock it holds
// meanwhile); reads each sequence and its table's highest key, names them all, asks once
// (No by default) and then, in one transaction, makes each sequence that is behind current at
// that key, the same way on every server; never lowers one, touches nothing else. A failure
// (no right to change a sequence, say) changes none and is told in Portuguese. Tells what it
// changed. Raises nothing.
SequenceAdjustmentReport adjustSequences(const std::string& programFolder, ServerLogin& login,
                                         const VerificationRequest& request, RunObserver& observer,
                                         RunPrompter& prompter);

}  // namespace engine
