#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "contract/code_names.h"
#include "contract/hresult.h"
#include "diagnostics/code_description.h"
#include "diagnostics/system_messages.h"
#include "errors_test_installation.h"

namespace qx {
namespace {

constexpr HRESULT H(uint32_t code) { return static_cast<HRESULT>(code); }

// The log-line tests read the common names; these are the edges of the tables.
TEST(ErrorsNamesTest, SeverityFacilityCodeAndSymbolicNames) {
  EXPECT_EQ(SeverityName(E_FAIL), "SEVERITY_ERROR");
  EXPECT_EQ(FacilityName(S_OK), "FACILITY_NULL");
  EXPECT_FALSE(FacilityName(H(0x80EC0000u)).empty());  // 236
  // Gaps of the SDK's numbering and facilities past its last.
  for (uint32_t facility : {5u, 235u, 256u, 270u, 2185u}) {
    EXPECT_EQ(FacilityName(H(0x80000000u | (facility << 16))),
              "Desconhecido ou novo c\xF3"
              "digo de FACILITY")
        << facility;
  }

  EXPECT_EQ(CodeName(S_OK), "ERROR_SUCCESS");
  EXPECT_EQ(CodeName(H(0x8007271Du)), "WSAEACCES");
  // Facility 4 codes are the suite's own: no system name.
  EXPECT_EQ(CodeName(H(0x80040005u)), "");
  EXPECT_EQ(CodeName(H(0x8007FFFEu)), "");

  EXPECT_EQ(SymbolicName(S_OK), "S_OK");
  EXPECT_EQ(SymbolicName(H(0x8001FFFFu)), "RPC_E_UNEXPECTED");
  EXPECT_EQ(SymbolicName(E_QXCR_NAO_INICIALIZADO), "");
}

TEST(ErrorsNamesTest, DescriptionFromTheFixedTableThenTheMessageLibrary) {
  {
    TestInstallation installation(true);
    EXPECT_EQ(QXDescricaoHresult(H(0x80040001u)), "Registro n\xE3o encontrado.");
    EXPECT_EQ(QXDescricaoHresult(H(0x00040001u)), "Registro n\xE3o encontrado.");
    EXPECT_FALSE(QXDescricaoHresult(H(0x80040923u)).empty());  // 2339
    // Codes outside the table, and the table's numbers in other facilities.
    EXPECT_EQ(QXDescricaoHresult(H(0x80040508u)), "Mensagem 80040508");
    EXPECT_EQ(QXDescricaoHresult(H(0x80070001u)), "Mensagem 80070001");
    EXPECT_EQ(QXDescricaoHresult(E_QXCR_NAO_INICIALIZADO), "Mensagem 81080A04");
    EXPECT_EQ(QXDescricaoHresult(H(0x8004FFFFu)), std::string(399, 'x'));  // at most 399
  }
  TestInstallation withoutLibrary(false);
  EXPECT_EQ(QXDescricaoHresult(E_QXCR_NAO_INICIALIZADO), "");
  EXPECT_EQ(QXDescricaoHresult(H(0x80040005u)), "Acesso negado ao arquivo.");
}

TEST(ErrorsNamesTest, SystemMessageTextThenTheDescriptionThenTheName) {
  // Code, text with the message library, text without it.
  const std::tuple<HRESULT, std::string, std::string> casos[] = {
      {H(0x800706BAu), "O servidor RPC n\xE3o est\xE1 dispon\xEDvel.",
       "O servidor RPC n\xE3o est\xE1 dispon\xEDvel."},
      {H(0x80070002u), "O sistema n\xE3o pode encontrar o arquivo especificado.",
       "O sistema n\xE3o pode encontrar o arquivo especificado."},
      {H(0x80040005u), "Acesso negado ao arquivo.", "Acesso negado ao arquivo."},
      {H(0x8001FFFFu), "Mensagem 8001FFFF", "RPC_E_UNEXPECTED"},
      {E_QXCR_NAO_INICIALIZADO, "Mensagem 81080A04", ""},
  };
  for (bool comBiblioteca : {true, false}) {
    TestInstallation installation(comBiblioteca);
    for (const auto& [hr, comTexto, semTexto] : casos) {
      EXPECT_EQ(TextoMensagemSistema(hr), comBiblioteca ? comTexto : semTexto) << std::hex << hr;
    }
  }
}

}  // namespace
}  // namespace qx
