// The sample company of the default installation and of the tests.
#include "outside/admin/suite_setup.h"
#include "values/qx_data.h"

namespace qx {

CompanySeed SampleCompany(const std::string& codigo, int ano) {
  CompanySeed seed;
  seed.codigo = codigo;
  seed.nome = "Empresa Demonstra\xE7\xE3o Ltda";
  seed.usaQuantidadeGerencial = true;
  seed.ged = true;
  seed.exercicio = static_cast<uint32_t>(ano);
  seed.dataInicial = CQXData::Make(1, 1, ano).Value();
  seed.dataFinal = CQXData::Make(31, 12, ano).Value();
  seed.codigoCliente = 1;
  seed.filiais = {{1, "Matriz"}, {2, "Filial Centro"}, {3, "Filial Norte"}};
  seed.usuarios = {{1, "ADMIN", {1, 2}}};
  seed.contas = {
      {'C', 1, 0, "1", "ATIVO", 'T'},
      {'C', 2, 1, "1.1", "ATIVO CIRCULANTE", 'T'},
      {'C', 3, 2, "1.1.01", "DISPON\xCDVEL", 'T'},
      {'C', 4, 3, "1.1.01.001", "Caixa", 'A'},
      {'C', 5, 3, "1.1.01.002", "Bancos conta movimento", 'A'},
      {'C', 40, 2, "1.1.02", "CR\xC9" "DITOS", 'T'},
      {'C', 6, 40, "1.1.02.001", "Clientes", 'A'},
      {'C', 10, 0, "2", "PASSIVO", 'T'},
      {'C', 41, 10, "2.1", "PASSIVO CIRCULANTE", 'T'},
      {'C', 42, 41, "2.1.01", "OBRIGA\xC7\xD5" "ES", 'T'},
      {'C', 11, 42, "2.1.01.001", "Fornecedores", 'A'},
      {'C', 12, 42, "2.1.01.002", "Impostos a recolher", 'A'},
      {'C', 14, 10, "2.3", "PATRIM\xD4NIO L\xCDQUIDO", 'T'},
      {'C', 15, 14, "2.3.01", "LUCROS OU PREJU\xCDZOS", 'T'},
      {'C', 13, 15, "2.3.01.001", "Lucros acumulados", 'A'},
      {'C', 20, 0, "3", "RECEITAS", 'T'},
      {'C', 43, 20, "3.1", "RECEITA OPERACIONAL", 'T'},
      {'C', 44, 43, "3.1.01", "VENDAS", 'T'},
      {'C', 21, 44, "3.1.01.001", "Receita de vendas", 'A'},
      {'C', 30, 0, "4", "DESPESAS", 'T'},
      {'C', 45, 30, "4.1", "DESPESAS OPERACIONAIS", 'T'},
      {'C', 46, 45, "4.1.01", "DESPESAS GERAIS", 'T'},
      {'C', 31, 46, "4.1.01.001", "Despesas administrativas", 'A'},
      {'C', 32, 46, "4.1.01.002", "Despesas banc\xE1rias", 'A'},
      {'G', 1, 0, "1", "CENTROS DE CUSTO", 'T'},
      {'G', 2, 1, "1.01", "Administrativo", 'A'},
      {'G', 3, 1, "1.02", "Comercial", 'A'},
      {'G', 4, 1, "1.03", "Produ\xE7\xE3o", 'A'},
  };
  seed.historicos = {
      {1, "Pagamento conforme documento", "PAG"},
      {2, "Recebimento de cliente", "REC"},
      {3, "Transfer\xEAncia entre contas", "TRF"},
      {4, "Tarifa banc\xE1ria", "TAR"},
  };
  seed.naturezas = {{"2.3", Natureza::kPatrimonio}};
  return seed;
}

}  // namespace qx
