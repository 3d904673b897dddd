#include "reports/ecd/demonstracoes.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

#include "reports/ecd/aglutinacao.h"
#include "reports/ecd/formato.h"

namespace qx::ecd {
namespace {

bool DoBalanco(Natureza n) {
  return n == Natureza::kAtivo || n == Natureza::kPassivo || n == Natureza::kPatrimonioLiquido;
}

class Montagem {
 public:
  explicit Montagem(const Livro& livro) : livro_(livro) {
    for (size_t i = 0; i < livro.contas.size(); ++i) indice_[livro.contas[i].codigo] = i;
    if (!livro.periodos.empty()) {
      for (const Saldo& s : livro.periodos.front().saldos) Acumula(inicial_[s.conta], s.inicial);
      for (const Saldo& s : livro.periodos.back().saldos) {
        Acumula(final_[s.conta], Soma(Soma(s.inicial, s.debitos), -s.creditos));
      }
    }
    for (const Apuracao& a : livro.apuracoes) {
      if (a.data != livro.fimExercicio) continue;
      for (const SaldoResultado& s : a.saldos) Acumula(resultado_[s.conta], s.saldo);
    }
    // Each code's place: the account the admin gave it, else the account itself.
    const auto codigos = CodigosDeAglutinacao(livro);
    for (const Aglutinacao& a : livro.aglutinacoes) {
      if (const auto onde = indice_.find(a.conta); onde != indice_.end()) {
        lugar_.emplace(a.codigo, onde->second);
        if (!a.descricao.empty()) descricao_[a.codigo] = a.descricao;
      }
    }
    for (const Conta& c : livro.contas) {
      const auto codigo = codigos.find(c.codigo);
      if (codigo == codigos.end()) continue;
      lugar_.emplace(codigo->second, indice_[c.codigo]);
      const bool balanco = DoBalanco(c.natureza);
      Acumula(valores_[codigo->second].first, balanco ? inicial_[c.codigo] : 0);
      Acumula(valores_[codigo->second].second, balanco ? final_[c.codigo] : resultado_[c.codigo]);
    }
    for (const auto& [codigo, conta] : lugar_) {
      detalhe_[conta] = codigo;
      // The synthetic accounts above it total it (a parent missing from the
      // chart ends the climb; the checker names it).
      for (auto acima = indice_.find(livro.contas[conta].superior); acima != indice_.end();
           acima = indice_.find(livro.contas[acima->second].superior)) {
        totais_.insert(acima->second);
      }
    }
  }

  // The lines of one statement, in the chart's order.
  std::vector<LinhaDemonstracao> Linhas(bool balanco) {
    std::vector<LinhaDemonstracao> linhas;
    for (size_t i = 0; i < livro_.contas.size(); ++i) {
      const Conta& c = livro_.contas[i];
      if (DoBalanco(c.natureza) != balanco || c.natureza > Natureza::kResultado) continue;
      const auto detalhe = detalhe_.find(i);
      if (detalhe == detalhe_.end() && totais_.count(i) == 0) continue;
      LinhaDemonstracao l{c.codigo,
                          c.superior,
                          c.nome,
                          c.nivel,
                          detalhe == detalhe_.end(),
                          !balanco                         ? 'R'
                          : c.natureza == Natureza::kAtivo ? 'A'
                                                           : 'P',
                          0,
                          0};
      if (!l.totalizadora) {
        l.codigo = detalhe->second;
        if (const auto d = descricao_.find(l.codigo); d != descricao_.end())
          l.descricao = d->second;
        std::tie(l.inicial, l.final) = valores_[l.codigo];
      }
      linhas.push_back(std::move(l));
    }
    if (balanco) {
      Enraiza(&linhas, 'A', "A", "ATIVO");
      Enraiza(&linhas, 'P', "P", "PASSIVO E PATRIM\xD4NIO L\xCDQUIDO");
    } else {
      Enraiza(&linhas, 'R', "R",
              "RESULTADO DO EXERC\xCD"
              "CIO");
    }
    // Totals from the bottom up: every line comes after the line it adds to.
    std::map<std::string, size_t> porCodigo;
    for (size_t i = 0; i < linhas.size(); ++i) porCodigo[linhas[i].codigo] = i;
    for (size_t i = linhas.size(); i-- > 0;) {
      const auto acima = porCodigo.find(linhas[i].superior);
      if (linhas[i].superior.empty() || acima == porCodigo.end()) continue;
      Acumula(linhas[acima->second].inicial, linhas[i].inicial);
      Acumula(linhas[acima->second].final, linhas[i].final);
    }
    if (!balanco) {
      for (LinhaDemonstracao& l : linhas) l.grupo = l.final > 0 ? 'D' : 'R';
    }
    return linhas;
  }

 private:
  // A statement's group has one line of level 1 (the balance sheet's assets,
  // and liabilities with equity; the income statement's result): a group
  // with several roots goes one level down, under a new one.
  static void Enraiza(std::vector<LinhaDemonstracao>* linhas, char grupo, const std::string& codigo,
                      const std::string& descricao) {
    size_t raizes = 0, primeira = linhas->size();
    for (size_t i = 0; i < linhas->size(); ++i) {
      if ((*linhas)[i].grupo != grupo) continue;
      primeira = std::min(primeira, i);
      raizes += (*linhas)[i].nivel == 1 ? 1 : 0;
    }
    if (raizes == 1) return;
    for (LinhaDemonstracao& l : *linhas) {
      if (l.grupo != grupo) continue;
      if (l.nivel == 1) l.superior = codigo;
      ++l.nivel;
    }
    linhas->insert(linhas->begin() + static_cast<std::ptrdiff_t>(primeira),
                   LinhaDemonstracao{codigo, "", descricao, 1, true, grupo, 0, 0});
  }

  const Livro& livro_;
  std::unordered_map<std::string, size_t> indice_;
  std::unordered_map<std::string, int64_t> inicial_, final_, resultado_;
  std::map<std::string, size_t> lugar_;
  std::map<std::string, std::string> descricao_;
  std::map<size_t, std::string> detalhe_;
  std::set<size_t> totais_;
  std::map<std::string, std::pair<int64_t, int64_t>> valores_;
};

}  // namespace

void MontaDemonstracoes(Livro* livro) {
  Montagem montagem(*livro);
  livro->balanco = montagem.Linhas(true);
  livro->dre = montagem.Linhas(false);
}

}  // namespace qx::ecd
