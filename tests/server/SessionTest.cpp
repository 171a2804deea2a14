// The session object itself: its start state, the reset at close and the small members.

#include <gtest/gtest.h>

#include "ScriptedOdbc.h"
#include "kvl/Error.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

TEST(Session, SmallMembers) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->connectionType = tq_dbconnectionINFORMIX;
    EXPECT_EQ(s->connectionType_Get("oracle8"), tq_dbconnectionORACLE8);
    EXPECT_EQ(s->connectionType_Get("Access"), tq_dbconnectionACCESS);
    EXPECT_EQ(s->connectionType_Get(""), tq_dbconnectionSQL7);
    EXPECT_EQ(s->connectionType_Get("DB2"), tq_dbconnectionSQL7);
    EXPECT_EQ(s->connectionType, tq_dbconnectionINFORMIX);  // not assigned by the lookup

    EXPECT_EQ(s->MaxComLar().ToInt32(), 35208);
    s->Abre();
    EXPECT_EQ(s->MaxComLar().ToInt32(), 35208);

    EXPECT_TRUE(s->TemLinhas(Variant(true)).ToBool());
    EXPECT_TRUE(s->TemLinhas().ToBool());  // the flag stays until set again
    EXPECT_FALSE(s->TemLinhas(Variant(int16_t{0})).ToBool());
}

TEST(Session, CloseResetsExactlyTheListedProperties) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->Driver = "D";
    s->DB = "base";
    s->IgDupKey = true;
    s->SqlMix = true;
    s->TabelaDeTabelas = "tabs";
    s->Aplicação = "app";
    s->connectionType = tq_dbconnectionORACLE8;
    s->Abre();
    ASSERT_TRUE(s->Aberto);
    std::string login = s->Login;

    s->Log = true;
    s->lStackBase = 3;
    s->Prompt = 2;
    s->ComMsg = s->ComMsgLog = s->SqlAnalisaColunas = false;
    s->syscolumns = "c";
    s->sysobjects = "o";
    s->erro = true;
    s->ErroD = "last error";
    s->HistoriaAdd("x", "y");
    int16_t samples = s->NRegistos;

    s->Fecha();
    EXPECT_FALSE(s->Aberto);
    EXPECT_EQ(s->hEnv, 0u);
    EXPECT_EQ(s->Stack(), 0);
    EXPECT_FALSE(s->Log);
    EXPECT_EQ(s->lStackBase, 1);
    EXPECT_EQ(s->Prompt, 0);
    EXPECT_TRUE(s->ComMsg && s->ComMsgLog && s->SqlAnalisaColunas);
    EXPECT_EQ(s->syscolumns, "syscolumns");
    EXPECT_EQ(s->sysobjects, "sysobjects");
    EXPECT_EQ(s->Logs(-1).ToInt32(), 0);
    // Kept.
    EXPECT_EQ(s->DB, "base");
    EXPECT_EQ(s->Login, login);
    EXPECT_TRUE(s->IgDupKey);
    EXPECT_TRUE(s->SqlMix);
    EXPECT_EQ(s->TabelaDeTabelas, "tabs");
    EXPECT_EQ(s->Aplicação, "app");
    EXPECT_EQ(s->connectionType, tq_dbconnectionORACLE8);
    EXPECT_TRUE(s->erro);
    EXPECT_EQ(s->ErroD, "last error");
    EXPECT_EQ(s->NRegistos, samples);
}

TEST(Session, SqlLogEntries) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->HistoriaAdd("A", "B");
    EXPECT_EQ(s->Logs(-1).ToInt32(), 1);
    EXPECT_EQ(s->Logs(1).ToString(), "A\tB");
    s->HistoriaAdd("C", "", true);
    EXPECT_EQ(s->Logs(-1).ToInt32(), 3);
    EXPECT_EQ(s->Logs(2).ToString(), "C\t");
    EXPECT_EQ(s->Logs(3).ToString(), "");
    EXPECT_THROW(s->Logs(4), Error);
}
