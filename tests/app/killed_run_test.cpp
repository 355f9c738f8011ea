// A run killed in the middle of an all-or-nothing table, in a child process of its own: the
// server undoes the unfinished table, and the tables that ended before it stay committed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "import_fixture.h"
#include "import_run.h"

namespace {

using test_support::ImportFixture;
using test_support::schemaFile;
using Rows = ImportFixture::Rows;

TEST(KilledRun, AllOrNothingTableKilledMidwayIsLeftAsItWas) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    const Rows productsBefore = fixture.destinationRows("SELECT * FROM PRODUTOS");
    const Rows productSequenceBefore = fixture.destinationRows("SELECT GEN_ID(CODIGO_PRODUTO, 0) FROM RDB$DATABASE");

    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        fixture.window.ticked = {engine::CheckBox::Produtos};
        fixture.options.allOrNothing = true;
        fixture.window.onProcessMessages = [&] {
            if (!fixture.window.eventsStartingWith("status: Importando Produtos").empty() &&
                fixture.window.gauge.position() == 5)
                ::kill(::getpid(), SIGKILL);
        };
        fixture.importRun();
        ::_exit(3);  // not killed: the parent reports it
    }
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
