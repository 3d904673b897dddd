#include "reports/ecd/leiaute.h"

#include <unordered_map>

namespace qx::ecd {
namespace {

using T = TipoCampo;

// Shorthands for the table below.
CampoLeiaute C(std::string_view nome, bool obrigatorio = true, uint16_t tamanho = 0) {
  return {nome, T::kTexto, obrigatorio, tamanho};
}
CampoLeiaute N(std::string_view nome, bool obrigatorio = true, uint16_t tamanho = 0) {
  return {nome, T::kNumero, obrigatorio, tamanho};
}
CampoLeiaute D(std::string_view nome, bool obrigatorio = true) {
  return {nome, T::kData, obrigatorio};
}
CampoLeiaute V(std::string_view nome, bool obrigatorio = true) {
  return {nome, T::kValor, obrigatorio};
}
CampoLeiaute O(std::string_view nome, std::string_view opcoes, bool obrigatorio = true) {
  return {nome, T::kOpcao, obrigatorio, 0, opcoes};
}

std::vector<RegistroLeiaute> Monta() {
  const CampoLeiaute dc = O("IND_DC", "D/C");
  return {
      {"0000",
       0,
       {O("LECD", "LECD"),
        D("DT_INI"),
        D("DT_FIN"),
        C("NOME"),
        N("CNPJ", true, 14),
        C("UF", true, 2),
        C("IE", false),
        N("COD_MUN", false, 7),
        C("IM", false),
        N("IND_SIT_ESP", false, 1),
        O("IND_SIT_INI_PER", "0/1/2/3/4"),
        O("IND_NIRE", "0/1"),
        O("IND_FIN_ESC", "0/1"),
        C("COD_HASH_SUB", false, 40),
        O("IND_GRANDE_PORTE", "0/1"),
        O("TIP_ECD", "0/1/2"),
        N("COD_SCP", false, 14),
        O("IDENT_MF", "S/N"),
        O("IND_ESC_CONS", "S/N"),
        O("IND_CENTRALIZADA", "0/1"),
        O("IND_MUDANC_PC", "0/1"),
        C("COD_PLAN_REF", false)}},
      {"0001", 1, {O("IND_DAD", "0/1")}},
      {"0007", 2, {C("COD_ENT_REF"), C("COD_INSCR", false)}},
      {"0020", 2},
      {"0035", 2},
      {"0150", 2},
      {"0180", 3},
      {"0990", 1, {N("QTD_LIN_0")}},
      {"C001", 1},
      {"C040", 2},
      {"C050", 3},
      {"C051", 4},
      {"C052", 4},
      {"C150", 3},
      {"C155", 4},
      {"C600", 3},
      {"C650", 4},
      {"C990", 1},
      {"I001", 1, {O("IND_DAD", "0/1")}},
      {"I010", 2, {O("IND_ESC", "G/R/A/B/Z"), O("COD_VER_LC", "9.00")}},
      {"I012", 3},
      {"I015", 4},
      {"I020", 3},
      {"I030",
       3,
       {O("DNRC_ABERT", "TERMO DE ABERTURA"), N("NUM_ORD"), C("NAT_LIVR"), N("QTD_LIN"), C("NOME"),
        N("NIRE", false, 11), N("CNPJ", true, 14), D("DT_ARQ", false), D("DT_ARQ_CONV", false),
        C("DESC_MUN", false), D("DT_EX_SOCIAL")}},
      {"I050",
       3,
       {D("DT_ALT"), O("COD_NAT", "01/02/03/04/05/09"), O("IND_CTA", "S/A"), N("NIVEL"),
        C("COD_CTA"), C("COD_CTA_SUP", false), C("CTA")}},
      {"I051", 4},
      {"I052", 4, {C("COD_CCUS", false), C("COD_AGL")}},
      {"I053", 4},
      {"I075", 3, {C("COD_HIST"), C("DESCR_HIST")}},
      {"I100", 3, {D("DT_ALT"), C("COD_CCUS"), C("CCUS")}},
      {"I150", 3, {D("DT_INI"), D("DT_FIN")}},
      {"I155",
       4,
       {C("COD_CTA"), C("COD_CCUS", false), V("VL_SLD_INI"), O("IND_DC_INI", "D/C"), V("VL_DEB"),
        V("VL_CRED"), V("VL_SLD_FIN"), O("IND_DC_FIN", "D/C")}},
      {"I157", 5},
      {"I200",
       3,
       {C("NUM_LCTO"), D("DT_LCTO"), V("VL_LCTO"), O("IND_LCTO", "N/E/X"),
        D("DT_LCTO_EXT", false)}},
      {"I250",
       4,
       {C("COD_CTA"), C("COD_CCUS", false), V("VL_DC"), dc, C("NUM_ARQ", false),
        C("COD_HIST_PAD", false), C("HIST"), C("COD_PART", false)}},
      {"I300", 3},
      {"I310", 4},
      {"I350", 3, {D("DT_RES")}},
      {"I355", 4, {C("COD_CTA"), C("COD_CCUS", false), V("VL_CTA"), dc}},
      {"I500", 3},
      {"I510", 3},
      {"I550", 3},
      {"I555", 4},
      {"I990", 1, {N("QTD_LIN_I")}},
      {"J001", 1, {O("IND_DAD", "0/1")}},
      {"J005", 2, {D("DT_INI"), D("DT_FIN"), O("ID_DEM", "1/2"), C("CAB_DEM", false)}},
      {"J100",
       3,
       {C("COD_AGL"), O("IND_COD_AGL", "T/D"), N("NIVEL_AGL"), C("COD_AGL_SUP", false),
        O("IND_GRP_BAL", "A/P"), C("DESCR_COD_AGL"), V("VL_CTA_INI"), O("IND_DC_CTA_INI", "D/C"),
        V("VL_CTA_FIN"), O("IND_DC_CTA_FIN", "D/C"), C("NOTA_EXP_REF", false)}},
      {"J150",
       3,
       {N("NU_ORDEM"), C("COD_AGL"), O("IND_COD_AGL", "T/D"), N("NIVEL_AGL"),
        C("COD_AGL_SUP", false), C("DESCR_COD_AGL"), V("VL_CTA_INI_", false),
        O("IND_DC_CTA_INI", "D/C", false), V("VL_CTA_FIN"), O("IND_DC_CTA_FIN", "D/C"),
        O("IND_GRP_DRE", "D/R"), C("NOTA_EXP_REF", false)}},
      {"J210", 3},
      {"J215", 4},
      {"J800", 3},
      {"J801", 3},
      {"J900",
       2,
       {O("DNRC_ENCER", "TERMO DE ENCERRAMENTO"), N("NUM_ORD"), C("NAT_LIVRO"), C("NOME"),
        N("QTD_LIN"), D("DT_INI_ESCR"), D("DT_FIN_ESCR")}},
      {"J930",
       3,
       {C("IDENT_NOM"), N("IDENT_CPF_CNPJ"), C("IDENT_QUALIF"), N("COD_ASSIN", true, 3),
        C("IND_CRC", false), C("EMAIL", false), C("FONE", false), C("UF_CRC", false),
        C("NUM_SEQ_CRC", false), D("DT_CRC", false), O("IND_RESP_LEGAL", "S/N")}},
      {"J932", 3},
      {"J935", 3},
      {"J990", 1, {N("QTD_LIN_J")}},
      {"K001", 1},
      {"K030", 2},
      {"K100", 3},
      {"K110", 4},
      {"K115", 5},
      {"K200", 2},
      {"K210", 3},
      {"K300", 3},
      {"K310", 4},
      {"K315", 5},
      {"K990", 1},
      {"9001", 1, {O("IND_DAD", "0/1")}},
      {"9900", 2, {C("REG_BLC", true, 4), N("QTD_REG_BLC")}},
      {"9990", 1, {N("QTD_LIN_9")}},
      {"9999", 0, {N("QTD_LIN")}},
  };
}

}  // namespace

const std::vector<RegistroLeiaute>& Leiaute() {
  static const std::vector<RegistroLeiaute> leiaute = Monta();
  return leiaute;
}

int Posicao(std::string_view registro) {
  static const std::unordered_map<std::string_view, int> posicoes = [] {
    std::unordered_map<std::string_view, int> p;
    for (size_t i = 0; i < Leiaute().size(); ++i) p[Leiaute()[i].nome] = static_cast<int>(i);
    return p;
  }();
  const auto it = posicoes.find(registro);
  return it == posicoes.end() ? -1 : it->second;
}

}  // namespace qx::ecd
