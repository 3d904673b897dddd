#include "lancamento/buscas/filtro_origem.h"

#include <initializer_list>

#include "values/qx_dmcps.h"

namespace {

constexpr uint32_t kModuloLote = 22;

}  // namespace

namespace qx {

SelecaoOrigem::SelecaoOrigem(const REG_FILTRO_LAN& f) {
  for (int32_t flag : {f.bLote, f.bImportacao, f.bFinanceiro, f.bEstoque, f.bIrpjLalur,
                       f.bEscritaFiscal, f.bPatrimonial, f.bComercial, f.bComercialPedido,
                       f.bCompras_RE, f.bCompras_CT, f.bFolha, f.bNFCe, f.bContabilidade, f.bECF,
                       f.bConciliacao, f.bGeradorLancamento, f.bGerenciador, f.bCustos}) {
    m_ativa = m_ativa || flag != 0;
  }
  m_contabilidade = f.bContabilidade != 0;
  m_numeroLote = f.lNumeroLote;

  // The origin module table: the codes each flag admits.
  const auto admite = [this](int32_t flag, std::initializer_list<uint8_t> codigos) {
    if (flag == 0) return;
    for (uint8_t codigo : codigos) m_modulos[codigo] = true;
  };
  admite(f.bFNCambial, {1});
  admite(f.bEscritaFiscal, {2, 9, 10, 11, 13, 16, 95});
  admite(f.bPatrimonial, {3});
  admite(f.bFNCRLan, {4});
  admite(f.bComercial, {5});
  admite(f.bFNCPLan, {6});
  admite(f.bEstoque, {7});
  admite(f.bFNTesouraria, {8});
  admite(f.bECF, {12, 30, 55, 56, 57, 58});
  admite(f.bFNCRBaixa, {14});
  admite(f.bFNCPBaixa, {15});
  admite(f.bGeradorLancamento, {17, 66});
  admite(f.bCompras_RE, {18, 19});
  admite(f.bCompras_CT, {20});
  admite(f.bImportacao, {21});
  admite(f.bLote, {kModuloLote});
  admite(f.bComercialPedido, {23});
  admite(f.bConciliacao, {24});
  admite(f.bFolha, {26, 27, 28, 29});
  admite(f.bGerenciador, {31});
  admite(f.bCustos, {32});
  admite(f.bNFCe, {66});
  admite(f.bIrpjLalur, {130, 131});
}

bool SelecaoOrigem::Admite(int32_t lChaveModulo) const {
  if (lChaveModulo == 0) return m_contabilidade;
  const uint32_t modulo = OriginModule(lChaveModulo);
  if (!m_modulos[modulo]) return false;
  return modulo != kModuloLote || m_numeroLote == 0 ||
         OriginKey(lChaveModulo) == static_cast<uint32_t>(m_numeroLote);
}

}  // namespace qx
