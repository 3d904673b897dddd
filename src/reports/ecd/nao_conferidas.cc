// What the authority's program checks and this checker leaves to it.
#include "reports/ecd/confere.h"

namespace qx::ecd {

const std::vector<std::string_view>& RegrasNaoConferidas() {
  static const std::vector<std::string_view> regras = {
      "tabelas externas: municípios do IBGE (só o formato e a UF), situações especiais, "
      "qualificação do assinante além do código",
      "cadastros da Receita e das juntas: CNPJ e CPF ativos, NIRE, procuração eletrônica "
      "do responsável, certificados digitais e a assinatura do arquivo",
      "a escrituração anterior: bloco C recuperado, saldos iniciais e DRE comparados com a "
      "ECD do ano anterior, hash da escrituração substituída",
      "registros que este sistema não gera: 0020, 0035, 0150, 0180, I012, I015, I020, I051, "
      "I053, I157, I300, I310, I500 a I555, J210, J215, J800, J801, J932, J935 e o bloco K",
      "moeda funcional (campos adicionais de I020) e escrituração de SCP",
      "lançamentos extemporâneos (X) e as suas datas",
      "tamanho máximo do arquivo e dos campos de 65.536 caracteres",
      "avisos do programa (o que ele não trata como erro)",
  };
  return regras;
}

}  // namespace qx::ecd
