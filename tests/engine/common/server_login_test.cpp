#include "server_login.h"
#include "database_server.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include "connection_parameters.h"
#include "database_server.h"
#include "parameter_blocks.h"

namespace {

using engine::ServerLogin;
using Lines = std::vector<std::string>;

TEST(ServerLogin, ReplacesOnlyWhatIsSetAndKeepsTheFixedLinesOtherwise) {
    struct Case {
        ServerLogin login;
        Lines destino, origem;
    };
    for (const Case& c : std::vector<Case>{
             {{}, engine::kDestinoParams, engine::kOrigemParams},
             {{"ana", std::nullopt},
              {"user_name=ana", "password=pinewheel", "lc_ctype=ISO8859_1 "},
              {"user_name=ana", "password=pinewheel"}},
             {{std::nullopt, "s3=cr et"},
              {"user_name=SYSDBA", "password=s3=cr et", "lc_ctype=ISO8859_1 "},
              {"user_name=sysdba", "password=s3=cr et"}},
             {{"ana", "x"}, {"user_name=ana", "password=x", "lc_ctype=ISO8859_1 "}, {"user_name=ana", "password=x"}},
         }) {
        EXPECT_EQ(engine::destinoParams(c.login), c.destino);
        EXPECT_EQ(engine::origemParams(c.login), c.origem);
    }
}

TEST(ServerLogin, WithNothingSetTheParameterBlocksAndTheServiceLoginAreTheFixedOnes) {
    EXPECT_EQ(db::buildDatabaseParameterBlock(engine::destinoParams({})).bytes,
              db::buildDatabaseParameterBlock(engine::kDestinoParams).bytes);
    EXPECT_EQ(db::buildDatabaseParameterBlock(engine::origemParams({})).bytes,
              db::buildDatabaseParameterBlock(engine::kOrigemParams).bytes);
    const db::ServiceLogin fixed = engine::serviceLogin({}, engine::serverOf("/var/lib/merak.fdb"));
    EXPECT_EQ(fixed.host, "localhost");
    EXPECT_EQ(fixed.user, "SYSDBA");
    EXPECT_EQ(fixed.password, "pinewheel");
    const db::ServiceLogin typed = engine::serviceLogin({"ana", "x"}, engine::serverOf("localhost/3051:/m.fdb"));
    EXPECT_EQ(typed.host, "localhost/3051");
    EXPECT_EQ(typed.user, "ana");
    EXPECT_EQ(typed.password, "x");
}

TEST(ServerLogin, EachVariableOfTheEnvironmentOnItsOwn) {
    qunsetenv("ISC_USER");
    qunsetenv("ISC_PASSWORD");
    EXPECT_FALSE(engine::loginFromEnvironment().user);
    EXPECT_FALSE(engine::loginFromEnvironment().password);
    qputenv("ISC_PASSWORD", QByteArray("outra"));
    EXPECT_FALSE(engine::loginFromEnvironment().user);
    EXPECT_EQ(engine::loginFromEnvironment().password, "outra");
    qputenv("ISC_USER", QByteArray("ana"));
    EXPECT_EQ(engine::loginFromEnvironment().user, "ana");
    qunsetenv("ISC_USER");
    qunsetenv("ISC_PASSWORD");
}

TEST(ServerLogin, TypedCredentialsReplaceBoth) {
    ServerLogin login{std::nullopt, "do ambiente"};
    login.use({"ana", "digitada"});
    EXPECT_EQ(login.user, "ana");
    EXPECT_EQ(login.password, "digitada");
}

TEST(ServerLogin, ARefusedLoginIsToldByItsCode) {
    EXPECT_TRUE(engine::isLoginRefused(db::DatabaseError("qualquer texto", -902, {isc_login})));
    EXPECT_FALSE(engine::isLoginRefused(
        db::DatabaseError("Your user name and password are not defined", -902, {isc_network_error})));
    EXPECT_FALSE(engine::isLoginRefused(db::DatabaseError("texto da camada")));
}

}  // namespace
