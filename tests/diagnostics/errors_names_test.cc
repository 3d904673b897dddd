#include <gtest/gtest.h>

#include "diagnostics/error_names.h"
#include "diagnostics/hresult.h"
#include "errors_test_installation.h"

namespace qx {
namespace {

TEST(ErrorsNamesTest, SeverityAndFacilityNames) {
  EXPECT_EQ(SeverityName(S_OK), "SEVERITY_SUCCESS");
  EXPECT_EQ(SeverityName(E_FAIL), "SEVERITY_ERROR");
  EXPECT_EQ(FacilityName(S_OK), "FACILITY_NULL");
  EXPECT_EQ(FacilityName(static_cast<HRESULT>(0x800405F7u)), "FACILITY_ITF");
  EXPECT_EQ(FacilityName(E_ACCESSDENIED), "FACILITY_WIN32");
  EXPECT_EQ(FacilityName(static_cast<HRESULT>(0x80540000u)), "FACILITY_MBN");
  EXPECT_EQ(FacilityName(static_cast<HRESULT>(0x802A0000u)), "FACILITY_UI");
  EXPECT_EQ(FacilityName(E_QXCR_NAO_INICIALIZADO), "QX_FACILITY_CR_CORE");
  EXPECT_FALSE(FacilityName(static_cast<HRESULT>(0x80EC0000u)).empty());  // 236
  const std::string unknown =
      "Desconhecido ou novo c\xF3"
      "digo de FACILITY";
  for (uint32_t facility : {5u, 27u, 59u, 85u, 235u, 256u, 267u, 270u, 2185u}) {
    EXPECT_EQ(FacilityName(static_cast<HRESULT>(0x80000000u | (facility << 16))), unknown)
        << facility;
  }
}

TEST(ErrorsNamesTest, CodeAndSymbolicNames) {
  EXPECT_EQ(CodeName(E_ACCESSDENIED), "ERROR_ACCESS_DENIED");
  EXPECT_EQ(CodeName(static_cast<HRESULT>(0x80070002u)), "ERROR_FILE_NOT_FOUND");
  EXPECT_EQ(CodeName(S_OK), "ERROR_SUCCESS");
  EXPECT_EQ(CodeName(static_cast<HRESULT>(0x8007271Du)), "WSAEACCES");
  // Facility 4 codes are the suite's own: no system name.
  EXPECT_EQ(CodeName(static_cast<HRESULT>(0x80040005u)), "");
  EXPECT_EQ(CodeName(static_cast<HRESULT>(0x8007FFFEu)), "");

  EXPECT_EQ(SymbolicName(S_OK), "S_OK");
  EXPECT_EQ(SymbolicName(E_FAIL), "E_FAIL");
  EXPECT_EQ(SymbolicName(E_NOINTERFACE), "E_NOINTERFACE");
  EXPECT_EQ(SymbolicName(static_cast<HRESULT>(0x8001FFFFu)), "RPC_E_UNEXPECTED");
  EXPECT_EQ(SymbolicName(static_cast<HRESULT>(0x80040100u)), "DRAGDROP_E_NOTREGISTERED");
  EXPECT_EQ(SymbolicName(E_QXCR_NAO_INICIALIZADO), "");
}

TEST(ErrorsNamesTest, DescriptionFromTheFixedTableThenTheMessageLibrary) {
  TestInstallation installation(true);
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x80040001u)), "Registro n\xE3o encontrado.");
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x00040001u)), "Registro n\xE3o encontrado.");
  EXPECT_FALSE(QXDescricaoHresult(static_cast<HRESULT>(0x80040923u)).empty());  // 2339
  // Codes outside the table, and the table's numbers in other facilities.
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x80040508u)), "Mensagem 80040508");
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x80070001u)), "Mensagem 80070001");
  EXPECT_EQ(QXDescricaoHresult(E_QXCR_NAO_INICIALIZADO), "Mensagem 81080A04");
  // At most 399 characters.
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x8004FFFFu)), std::string(399, 'x'));
}

TEST(ErrorsNamesTest, DescriptionWithoutMessageLibraryIsEmpty) {
  TestInstallation installation(false);
  EXPECT_EQ(QXDescricaoHresult(E_QXCR_NAO_INICIALIZADO), "");
  EXPECT_EQ(QXDescricaoHresult(static_cast<HRESULT>(0x80040005u)), "Acesso negado ao arquivo.");
}

}  // namespace
}  // namespace qx
