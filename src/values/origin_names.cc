#include "values/origin_names.h"

#include <algorithm>
#include <iterator>

namespace qx {
namespace {

struct OriginName {
  unsigned module;
  const char* name;
};

// Sorted by module code.
constexpr OriginName kOriginNames[] = {
    {0, "Contabilidade"},
    {1, "Financeiro - Provis\xE3o de Varia\xE7\xE3o Cambial"},
    {2, "Escrita Fiscal - Entradas"},
    {3, "Patrimonial"},
    {4, "Financeiro - Contas a Receber"},
    {5, "Comercial - Nota Fiscal"},
    {6, "Financeiro - Contas a Pagar"},
    {7, "Estoque"},
    {8, "Financeiro - Tesouraria"},
    {9,
     "Escrita Fiscal - Sa\xED"
     "das"},
    {10, "Escrita Fiscal - Servi\xE7os Prestados"},
    {11, "Escrita Fiscal - Servi\xE7os Tomados"},
    {12, "ECF"},
    {13, "Escrita Fiscal - Impostos"},
    {14, "Financeiro - Baixa de Contas a Receber"},
    {15, "Financeiro - Baixa de Contas a Pagar"},
    {16, "Escrita Fiscal - Itens da Folha"},
    {17,
     "Gerador de Lan\xE7"
     "amentos"},
    {18, "Compras - Registro de Entrada"},
    {19, "Compras - Pedido de Compra"},
    {20, "Compras - Conhecimento de Transporte"},
    {21, "Importa\xE7\xE3o"},
    {22, "Lote"},
    {23, "Comercial - Pedido"},
    {24, "Concilia\xE7\xE3o"},
    {26, "Folha - Pagamento"},
    {27, "Folha - 13\xBA Sal\xE1rio"},
    {28, "Folha - F\xE9rias"},
    {29, "Folha - Rescis\xE3o"},
    {30, "ECF - Integra\xE7\xE3o"},
    {31, "Gerenciador de Servi\xE7os - Faturamento"},
    {32, "Custos"},
    {55, "ECF - Integra\xE7\xE3o"},
    {56, "ECF - Integra\xE7\xE3o"},
    {57, "ECF - Integra\xE7\xE3o"},
    {58, "ECF - Integra\xE7\xE3o"},
    {66, "NFC-e"},
    {95, "Escrita Fiscal - F200"},
    {130, "IRPJ - LALUR"},
    {131, "CSLL - LACS"},
};

}  // namespace

const char* OriginModuleName(unsigned module) {
  const auto* found =
      std::lower_bound(std::begin(kOriginNames), std::end(kOriginNames), module,
                       [](const OriginName& entry, unsigned code) { return entry.module < code; });
  return found != std::end(kOriginNames) && found->module == module ? found->name : nullptr;
}

}  // namespace qx
