#pragma once

namespace engine {

// What a run does with the destination. Each mode's transaction behaviour is written in one
// place, the table transaction (tables/table_transaction.h).
enum class RunMode {
    // Every DELETE, row and sequence restart is committed as it is done.
    Default,
    // Everything inside one transaction that is rolled back at the end: nothing of the
    // destination changes, and the logs go to the preview's own files.
    Preview,
    // Each table's DELETE, rows and sequence restart are committed together at its end; a table
    // that does not reach its end is left as it was.
    AllOrNothing,
    // A preview whose tables are put back, within it, when they do not reach their end.
    PreviewAllOrNothing,
};

// The mode of the window's and the batch's two options.
constexpr RunMode runMode(bool preview, bool allOrNothing) {
    if (preview) return allOrNothing ? RunMode::PreviewAllOrNothing : RunMode::Preview;
    return allOrNothing ? RunMode::AllOrNothing : RunMode::Default;
}

constexpr bool isPreview(RunMode mode) { return mode == RunMode::Preview || mode == RunMode::PreviewAllOrNothing; }

// A table that does not reach its end is put back as it was before its DELETE.
constexpr bool undoesUnfinishedTables(RunMode mode) {
    return mode == RunMode::AllOrNothing || mode == RunMode::PreviewAllOrNothing;
}

}  // namespace engine
