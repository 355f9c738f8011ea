#pragma once

#include <ostream>

#include "sequence_adjustment.h"
#include "verification_report.h"

namespace batch {

// The comparison's summary on standard output: per table its counts, its sequence (flagged
// when behind the highest key) and its first findings of each kind; then where
// conferencia.csv is and the verdict: "Conferência incompleta", with the tables compared and
// those not compared and why, when the comparison did not run to its end.
void writeVerificationSummary(std::ostream& out, const engine::VerificationReport& report);

// The program's exit status for a comparison: 0 when every table matches apart from
// explained missing rows, 1 when anything else differs, 2 when the comparison did not start
// or did not run to its end (a stop signal's status is the caller's).
int exitStatusOfVerification(const engine::VerificationReport& report);

// What --ajustar-sequencias did to each sequence, on standard output.
void writeAdjustmentSummary(std::ostream& out, const engine::SequenceAdjustmentReport& adjustment);

// The exit status of --conferir --ajustar-sequencias: 0 when the tables match and no sequence
// is left behind, 1 when anything still differs (a sequence left behind because the answer
// was No included), 2 when the adjustment could not run or the comparison was incomplete.
int exitStatusOfAdjustment(const engine::VerificationReport& report,
                           const engine::SequenceAdjustmentReport& adjustment);

}  // namespace batch
