// A run killed in the middle of an all-or-nothing table, in a child process of its own: the
// server undoes the unfinished table, and the tables that ended before it stay committed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "import_fixture.h"
#include "import_run.h"

namespace {

using test_support::ImportFixture;
using test_support::schemaFile;
using Rows = ImportFixture::Rows;

TEST(KilledRun, AllOrNothingTableKilledMidwayIsLeftAsItWas) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    // The child is forked before this process makes its first database call: a child of a
    // process whose client library already runs threads of its own inherits their locks in
    // whatever state they were, and under load its run can fail before the kill. It starts
    // once the parent has read the destination as it was.
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::close(start[1]);
        char go = 0;
        if (::read(start[0], &go, 1) != 1) ::_exit(4);
        fixture.window.ticked = {engine::CheckBox::Produtos};
        fixture.options.allOrNothing = true;
        fixture.window.onProcessMessages = [&] {
            if (!fixture.window.eventsStartingWith("status: Importando Produtos").empty() &&
                fixture.window.gauge.position() == 5)
                ::kill(::getpid(), SIGKILL);
        };
        fixture.importRun();
        // Not killed: the parent reports it, with what the run showed.
        for (const std::string& box : fixture.window.boxes)
            std::fprintf(stderr, "child's run showed: %s\n", box.c_str());
        if (!fixture.report.failure.empty())
            std::fprintf(stderr, "child's run failed: %s\n", fixture.report.failure.c_str());
        ::_exit(3);
    }
    ::close(start[0]);
    const Rows productsBefore = fixture.destinationRows("SELECT * FROM PRODUTOS");
    const Rows productSequenceBefore = fixture.destinationRows("SELECT GEN_ID(CODIGO_PRODUTO, 0) FROM RDB$DATABASE");
    ASSERT_EQ(::write(start[1], "s", 1), 1);
    ::close(start[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(fixture.destinationRows("SELECT * FROM PRODUTOS"), productsBefore);
    EXPECT_EQ(fixture.destinationRows("SELECT GEN_ID(CODIGO_PRODUTO, 0) FROM RDB$DATABASE"), productSequenceBefore);
    // The product groups ended before the products started: they are in.
    EXPECT_EQ(fixture.destinationRows("SELECT COUNT(*) FROM GRUPO"),
              fixture.sourceRows("SELECT COUNT(DISTINCT ID) FROM GRUPOS"));
}

}  // namespace
