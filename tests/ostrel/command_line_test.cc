// The switches of the server's command line.
#include "server/command_line.h"

#include <gtest/gtest.h>

#include "server/ostrel_module.h"

namespace qx {
namespace {

using A = AcaoLinhaComando;

TEST(CommandLineTest, SwitchesActAfterDashOrSlashInAnyCase) {
  EXPECT_EQ(InterpretaLinhaComando("-RegServer"), A::kRegistra);
  EXPECT_EQ(InterpretaLinhaComando("/regserver"), A::kRegistra);
  EXPECT_EQ(InterpretaLinhaComando("-REGSERVER"), A::kRegistra);
  EXPECT_EQ(InterpretaLinhaComando("/UnregServer"), A::kDesregistra);
  EXPECT_EQ(InterpretaLinhaComando("-regserverperuser"), A::kRegistraUsuario);
  EXPECT_EQ(InterpretaLinhaComando("/UNREGSERVERPERUSER"), A::kDesregistraUsuario);
  EXPECT_EQ(InterpretaLinhaComando("\t-RegServer\t"), A::kRegistra);
}

TEST(CommandLineTest, OtherWordsRunTheServer) {
  EXPECT_EQ(InterpretaLinhaComando(""), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("RegServer"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("-Embedding"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("-RegServerX"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("-Reg Server"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("- RegServer"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("-RegServer\n"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("-"), A::kServidor);
  EXPECT_EQ(InterpretaLinhaComando("/"), A::kServidor);
}

TEST(CommandLineTest, FirstRecognisedSwitchDecides) {
  EXPECT_EQ(InterpretaLinhaComando("-Embedding /UnregServer -RegServer"), A::kDesregistra);
  EXPECT_EQ(InterpretaLinhaComando("word -x --RegServer"), A::kRegistra);
  EXPECT_EQ(InterpretaLinhaComando("-RegServerPerUser -UnregServer"), A::kRegistraUsuario);
  // Every '-' or '/' may start a switch, also inside a word.
  EXPECT_EQ(InterpretaLinhaComando("/opt/qx/-unregserver"), A::kDesregistra);
}

TEST(CommandLineTest, ExitStatusIsNeverZeroForAFailure) {
  EXPECT_EQ(CodigoSaida(S_OK), 0);
  EXPECT_EQ(CodigoSaida(S_FALSE), 0);
  EXPECT_EQ(CodigoSaida(E_ACCESSDENIED), 5);
  EXPECT_EQ(CodigoSaida(static_cast<HRESULT>(0x80070100u)), 1);
  EXPECT_EQ(CodigoSaida(static_cast<HRESULT>(0x81080C00u)), 1);
}

}  // namespace
}  // namespace qx
