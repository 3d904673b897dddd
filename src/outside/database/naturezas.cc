#include "outside/database/naturezas.h"

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr NomeDeNatureza kNomes[] = {
    {Natureza::kAtivo, "ativo", "ativo"},
    {Natureza::kPassivo, "passivo", "passivo"},
    {Natureza::kPatrimonio, "patrimonio", "patrimônio líquido"},
    {Natureza::kReceita, "receita", "receita"},
    {Natureza::kDeducao, "deducao", "dedução da receita"},
    {Natureza::kCusto, "custo", "custo"},
    {Natureza::kDespesa, "despesa", "despesa"},
    {Natureza::kCompensacao, "compensacao", "compensação"},
};

}  // namespace

std::span<const NomeDeNatureza> NomesDeNatureza() { return kNomes; }

const char* NomeNatureza(Natureza natureza) {
  for (const NomeDeNatureza& n : kNomes) {
    if (n.natureza == natureza) return n.nome;
  }
  return "";
}

const char* DescricaoNatureza(Natureza natureza) {
  for (const NomeDeNatureza& n : kNomes) {
    if (n.natureza == natureza) return n.descricao;
  }
  return "sem natureza";
}

std::optional<Natureza> NaturezaDoNome(std::string_view nome) {
  for (const NomeDeNatureza& n : kNomes) {
    if (nome == n.nome) return n.natureza;
  }
  return std::nullopt;
}

bool EhResultado(Natureza natureza) {
  return natureza == Natureza::kReceita || natureza == Natureza::kDeducao ||
         natureza == Natureza::kCusto || natureza == Natureza::kDespesa;
}

HRESULT ListaNaturezas(SuiteDatabase& db, std::vector<RegraNatureza>* regras) {
  regras->clear();
  return ForEachRow(
      db, "SELECT classificacao, natureza FROM naturezas ORDER BY classificacao",
      [](SqlStatement&) {},
      [&](const SqlStatement& row) {
        regras->push_back({row.Text(0), NaturezaDoNome(row.Text(1)).value_or(Natureza::kNenhuma)});
      });
}

HRESULT DefineNatureza(SuiteDatabase& db, const RegraNatureza& regra) {
  if (regra.classificacao.empty() || regra.natureza == Natureza::kNenhuma) {
    return db.Fail(E_INVALIDARG,
                   "A regra de natureza precisa de uma classifica\xE7\xE3o e de "
                   "uma natureza.");
  }
  return db.Write([&] {
    SqlStatement upsert(db,
                        "INSERT INTO naturezas (classificacao, natureza) VALUES (?, ?) "
                        "ON CONFLICT (classificacao) DO UPDATE SET natureza = excluded.natureza");
    return upsert.BindText(1, regra.classificacao).BindText(2, NomeNatureza(regra.natureza)).Run();
  });
}

HRESULT RemoveNatureza(SuiteDatabase& db, const std::string& classificacao) {
  return db.Write([&] {
    SqlStatement existe(db, "SELECT 1 FROM naturezas WHERE classificacao = ?");
    const HRESULT hr = existe.BindText(1, classificacao).StepOne();
    if (hr == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO,
                     FormatText("Nenhuma regra de natureza para a classifica\xE7\xE3o %s.",
                                classificacao.c_str()));
    }
    if (FAILED(hr)) return hr;
    SqlStatement remove(db, "DELETE FROM naturezas WHERE classificacao = ?");
    return remove.BindText(1, classificacao).Run();
  });
}

}  // namespace qx
