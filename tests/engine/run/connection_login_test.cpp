// Connectar when the server refuses the login: the login from the environment, the typed one.
#include <cstdlib>

#include <gtest/gtest.h>

#include "connection_setup.h"
#include "import_fixture.h"
#include "test_user.h"

namespace {

using test_support::ImportFixture;

const std::string kFailurePrefix = "warning: Falha na função: \"Connectar\"\r\nFalha: ";
const std::string kRefused = "Your user name and password are not defined";
const std::string kSuccess = "warning: Base de dados Origem e Destino conectados com sucesso";

class ConnectionLogin : public testing::Test {
protected:
    test_support::TestUser user;
    ImportFixture fixture{"", ""};
    engine::ImportSession& session = fixture.session;
    test_support::ScriptedWindow& window = fixture.window;

    void expectNoEventHolds(const std::string& secret) const {
        for (const std::string& event : window.events) EXPECT_EQ(event.find(secret), std::string::npos) << event;
    }
};

TEST_F(ConnectionLogin, AWrongPasswordFailsWithTheServersTextAndTheRightOneConnects) {
    ::setenv("ISC_USER", user.name().c_str(), 1);
    ::setenv("ISC_PASSWORD", "errada", 1);
    session.login = engine::loginFromEnvironment();
    ::unsetenv("ISC_USER");
    ::unsetenv("ISC_PASSWORD");

    // Cancel in the login dialog: the failure as it always was.
    EXPECT_FALSE(fixture.connectar(true));
    ASSERT_EQ(window.events.size(), 2u);
    EXPECT_EQ(window.events[0], "login asked");
    EXPECT_EQ(window.events[1].rfind(kFailurePrefix, 0), 0u) << window.events[1];
    EXPECT_NE(window.events[1].find(kRefused), std::string::npos) << window.events[1];
    EXPECT_FALSE(session.IBDatabaseDestino.isOpen());
    EXPECT_FALSE(session.IBDBOrigem.isOpen());

    window.events.clear();
    session.login.password = user.password();
    EXPECT_TRUE(fixture.connectar(true));
    EXPECT_EQ(window.events, std::vector<std::string>{kSuccess});
    EXPECT_TRUE(session.IBTransactionFireBird.isActive());

    // A failure other than the login asks nothing.
    window.events.clear();
    window.destino = "/nonexistent/merak.fdb";
    EXPECT_FALSE(fixture.connectar(true));
    ASSERT_EQ(window.events.size(), 1u);
    EXPECT_EQ(window.events[0].rfind(kFailurePrefix, 0), 0u);
}

TEST_F(ConnectionLogin, TheTypedLoginIsAskedUntilItIsTakenAndKeptForLaterConnections) {
    session.login = {user.name(), "errada"};
    window.logins = {{user.name(), "outra errada"}, {user.name(), user.password()}};
    EXPECT_TRUE(fixture.connectar(true));
    EXPECT_EQ(window.events, (std::vector<std::string>{"login asked", "login asked", kSuccess}));
    EXPECT_EQ(session.login.user, user.name());
    EXPECT_EQ(session.login.password, user.password());

    window.events.clear();
    EXPECT_TRUE(fixture.connectar(false));
    EXPECT_TRUE(window.events.empty());
    expectNoEventHolds(user.password());
}

TEST_F(ConnectionLogin, TheImportCommandAsksTooAndTheRunGoesOnWithTheTypedLogin) {
    // The technician types SYSDBA's own login: the run then has every right it needs.
    session.login = {std::nullopt, "errada"};
    window.logins = {{"SYSDBA", "pinewheel"}};
    fixture.options.safetyCopy = false;
    window.ticked = {engine::CheckBox::Vendedores};
    const engine::RunReport& report = fixture.importRun();
    EXPECT_TRUE(report.started()) << testing::PrintToString(window.events);
    EXPECT_EQ(window.eventsStartingWith("login asked").size(), 1u);
    EXPECT_EQ(session.login.user, "SYSDBA");
    expectNoEventHolds("pinewheel");
}

}  // namespace
