#include <algorithm>
#include <iterator>

#include "contract/suite_tables.h"

namespace qx {
namespace {

struct Text {
  int code;
  const char* text;
};

// Texts of other modules of the suite for facility-4 codes, by low word, in
// Windows-1252 and sorted by code.
constexpr Text kMessages[] = {
    {1, "Registro n\xE3o encontrado."},
    {2, "Registro j\xE1 existe."},
    {3, "Fim de arquivo."},
    {4, "Arquivo n\xE3o encontrado."},
    {5, "Acesso negado ao arquivo."},
    {6, "Arquivo em uso por outro usu\xE1rio."},
    {7, "Arquivo bloqueado."},
    {8, "Mem\xF3ria insuficiente."},
    {9, "Par\xE2metro inv\xE1lido."},
    {10, "Opera\xE7\xE3o cancelada pelo usu\xE1rio."},
    {11, "Empresa n\xE3o informada."},
    {12, "Empresa n\xE3o encontrada."},
    {13, "Usu\xE1rio sem permiss\xE3o para esta opera\xE7\xE3o."},
    {501, "Data inv\xE1lida."},
    {502, "Data fora do per\xEDodo permitido."},
    {503, "Per\xEDodo encerrado."},
    {504, "M\xEAs n\xE3o encontrado."},
    {505, "Ano inv\xE1lido."},
    {506, "Data inicial maior que a data final."},
    {507, "Compet\xEAncia inv\xE1lida."},
    {509, "Valor inv\xE1lido."},
    {510, "Valor n\xE3o pode ser zero."},
    {511, "Valor n\xE3o pode ser negativo."},
    {512, "Quantidade inv\xE1lida."},
    {1522,
     "Conta cont\xE1"
     "bil n\xE3o encontrada."},
    {1523,
     "Conta cont\xE1"
     "bil sint\xE9tica n\xE3o aceita lan\xE7"
     "amentos."},
    {1524,
     "Conta cont\xE1"
     "bil inativa."},
    {1525,
     "Conta cont\xE1"
     "bil inv\xE1lida."},
    {1733, "Hist\xF3rico padr\xE3o n\xE3o encontrado."},
    {1739, "Filial n\xE3o encontrada."},
    {1750, "Centro de custo n\xE3o encontrado."},
    {1873, "Documento n\xE3o encontrado."},
    {1874, "Documento j\xE1 existe."},
    {1875, "N\xFAmero do documento inv\xE1lido."},
    {1876, "S\xE9rie do documento inv\xE1lida."},
    {1908,
     "Lote de lan\xE7"
     "amentos n\xE3o encontrado."},
    {1978, "Configura\xE7\xE3o da contabilidade n\xE3o encontrada."},
    {1979, "Configura\xE7\xE3o da contabilidade inv\xE1lida."},
    {2339, "Servidor da su\xEDte indispon\xEDvel."},
};

}  // namespace

const char* SuiteMessageText(int code) {
  const auto* found = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                                       [](const Text& row, int key) { return row.code < key; });
  return found != std::end(kMessages) && found->code == code ? found->text : nullptr;
}

}  // namespace qx
