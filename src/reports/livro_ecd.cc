#include "reports/livro_ecd.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "outside/admin/company_admin.h"
#include "outside/admin/company_registration.h"
#include "reports/banco_empresa.h"
#include "reports/cadastro_empresa.h"
#include "reports/ecd/demonstracoes.h"
#include "reports/encerramento.h"
#include "reports/falha.h"
#include "reports/lancamentos_periodo.h"
#include "reports/niveis.h"
#include "reports/periodo.h"
#include "reports/plano.h"
#include "reports/rateio.h"

namespace qx {
namespace {

ecd::Natureza NaturezaEcd(Natureza natureza) {
  switch (natureza) {
    case Natureza::kAtivo:
      return ecd::Natureza::kAtivo;
    case Natureza::kPassivo:
      return ecd::Natureza::kPassivo;
    case Natureza::kPatrimonio:
      return ecd::Natureza::kPatrimonioLiquido;
    case Natureza::kReceita:
    case Natureza::kDeducao:
    case Natureza::kCusto:
    case Natureza::kDespesa:
      return ecd::Natureza::kResultado;
    case Natureza::kCompensacao:
      return ecd::Natureza::kCompensacao;
    case Natureza::kNenhuma:
      break;
  }
  return ecd::Natureza::kOutras;
}

void Estourou(const std::string& onde) {
  throw FalhaLocal("a soma " + onde + " passa do maior valor que o arquivo guarda",
                   "confira os valores dos lançamentos com qxcn balancete");
}

int64_t Soma(int64_t a, int64_t b, const char* onde) {
  int64_t soma = 0;
  if (__builtin_add_overflow(a, b, &soma)) Estourou(onde);
  return soma;
}

ecd::Empresa LeEmpresa(SuiteDatabase& db) {
  CadastroPJ c;
  ConfirmaLeitura(LeCadastroPJ(db, &c), db, "a leitura do cadastro da empresa");
  return {c.razaoSocial,
          c.cnpj,
          c.uf,
          c.municipio,
          c.nomeMunicipio,
          c.inscricaoEstadual,
          c.inscricaoMunicipal,
          c.nire,
          CQXData(c.dataArquivamento),
          CQXData(c.dataConversao),
          c.grandePorte};
}

std::vector<ecd::Signatario> LeSignatarios(SuiteDatabase& db) {
  std::vector<SignatarioCadastro> lidos;
  ConfirmaLeitura(ListaSignatarios(db, &lidos), db, "a leitura dos signatários");
  std::vector<ecd::Signatario> signatarios;
  for (const SignatarioCadastro& s : lidos) {
    signatarios.push_back({s.nome, s.documento, s.qualificacao, s.crc, s.ufCrc, s.certidaoCrc,
                           CQXData(s.validadeCertidao), s.email, s.telefone, s.responsavelLegal});
  }
  return signatarios;
}

// The chart in its order, each account under the nearest account above it
// whose level it lies below (a level the chart skips, the checker names).
std::vector<ecd::Conta> Contas(const PlanoDeContas& plano) {
  std::vector<ecd::Conta> contas;
  std::vector<const Conta*> acima;  // the accounts the next one may lie below
  for (const Conta& c : plano.Contas()) {
    if (c.nivel == 0) continue;
    while (!acima.empty() && !(acima.back()->nivel < c.nivel &&
                               NoNivelOuAbaixo(c.classificacao, acima.back()->classificacao))) {
      acima.pop_back();
    }
    contas.push_back({c.classificacao, acima.empty() ? "" : acima.back()->classificacao, c.nome,
                      NaturezaEcd(c.natureza), !c.total, c.nivel, CQXData()});
    acima.push_back(&c);
  }
  return contas;
}

// What the entries need of the charts and the histories, by number.
struct Nomes {
  std::unordered_map<int32_t, std::string> contas, centros;
  std::unordered_map<int32_t, std::string> nomesContas;
  std::unordered_map<uint16_t, std::string> historicos;

  // An account the chart lacks goes by its number: the checker names it.
  static const std::string& Codigo(const std::unordered_map<int32_t, std::string>& codigos,
                                   int32_t numero, std::string* proprio) {
    const auto c = codigos.find(numero);
    if (c != codigos.end()) return c->second;
    *proprio = std::to_string(numero);
    return *proprio;
  }
};

// A line's amount with its side: above zero a debit.
int64_t Assinado(const ecd::Partida& p) { return p.natureza == 'D' ? p.valor : -p.valor; }

// Appends `modelo` on `conta` and `centro` as a line of the signed amount
// (nothing for zero).
void AcrescentaLinha(std::vector<ecd::Partida>* partidas, const ecd::Partida& modelo,
                     const std::string& conta, const std::string& centro, int64_t assinado) {
  if (assinado == 0) return;
  ecd::Partida& p = partidas->emplace_back(modelo);
  p.conta = conta;
  p.centro = centro;
  p.natureza = assinado > 0 ? 'D' : 'C';
  p.valor = assinado > 0 ? assinado : -assinado;
}

// The result accounts' balances before the closing entries, by branch,
// account and cost centre.
using Resultados = std::map<std::tuple<uint16_t, std::string, std::string>, int64_t>;

// A closing entry takes a result account's balance in its branch as a whole;
// the file states it centre by centre, as the balances it zeroes stand, so
// that each account and centre ends the year at zero. What the centres'
// balances do not explain stays without a centre.
void DistribuiEncerramento(const Resultados& antes, ecd::Lancamento* l) {
  std::vector<ecd::Partida> partidas;
  for (const ecd::Partida& p : l->partidas) {
    if (!p.centro.empty()) {
      partidas.push_back(p);
      continue;
    }
    int64_t resto = Assinado(p);
    for (auto a = antes.lower_bound({l->filial, p.conta, std::string()});
         a != antes.end() && std::get<0>(a->first) == l->filial && std::get<1>(a->first) == p.conta;
         ++a) {
      if (std::get<2>(a->first).empty()) continue;
      AcrescentaLinha(&partidas, p, p.conta, std::get<2>(a->first), -a->second);
      resto = Soma(resto, a->second, "de um encerramento");
    }
    AcrescentaLinha(&partidas, p, p.conta, "", resto);
  }
  l->partidas = std::move(partidas);
}

// Reads the entries of a period as the file's entries, a month at a time,
// with their splits; the closing entries stated by centre when `antes` is
// given.
class Leitor {
 public:
  Leitor(SessaoLancamento& servico, const Nomes& nomes, int ano, const Resultados* antes = nullptr)
      : servico_(servico), nomes_(nomes), ano_(ano), antes_(antes) {}

  // The entries from `de` to `ate`, each branch numbering its own from 1.
  void Percorre(CQXData de, CQXData ate, bool historicos,
                const std::function<void(const ecd::Lancamento&)>& visita) {
    numeros_.clear();
    for (CQXData inicio = de; !inicio.IsEmpty() && !(ate < inicio);
         inicio = CQXData(inicio.LastDayOfMonth().Value() + 1)) {
      Mes(inicio, std::min(ate, inicio.LastDayOfMonth()), historicos, visita);
    }
  }

 private:
  void Mes(CQXData de, CQXData ate, bool historicos,
           const std::function<void(const ecd::Lancamento&)>& visita) {
    std::vector<LancamentoLido> lidos;
    PercorreLancamentos(servico_, de, ate, 0, historicos, [&](const LancamentoLido& l) {
      if (l.dados.Valor.int64 != 0) lidos.push_back(l);
    });
    std::vector<LancamentoLido> comRateio;
    for (const LancamentoLido& l : lidos) {
      if (l.dados.Gerencial > 0) comRateio.push_back(l);
    }
    const std::vector<Rateio> rateios = LeRateios(servico_, comRateio);
    size_t proximo = 0;
    ecd::Lancamento lancamento;
    for (const LancamentoLido& l : lidos) {
      static const Rateio kSemRateio;
      const Rateio& rateio = l.dados.Gerencial > 0 ? rateios[proximo++] : kSemRateio;
      Converte(l, rateio, historicos, &lancamento);
      visita(lancamento);
    }
  }

  void Converte(const LancamentoLido& l, const Rateio& rateio, bool historicos,
                ecd::Lancamento* lancamento) {
    const RegDados& d = l.dados;
    lancamento->filial = static_cast<uint16_t>(d.Filial);
    lancamento->numero = ++numeros_[lancamento->filial];
    lancamento->data = CQXData(d.DataLancamento);
    lancamento->encerramento = EhEncerramentoDe(d, ano_);
    lancamento->partidas.clear();
    ecd::Partida modelo;
    if (d.Documento != 0) modelo.documento = std::to_string(d.Documento);
    if (historicos) {
      if (d.CodHis != 0) {
        modelo.historicoPadrao = std::to_string(d.CodHis);
        if (const auto h = nomes_.historicos.find(static_cast<uint16_t>(d.CodHis));
            h != nomes_.historicos.end()) {
          modelo.historico = h->second;
        }
      }
      const std::string complemento = SemFimDeLinha(l.complemento);
      if (!complemento.empty()) {
        modelo.historico += (modelo.historico.empty() ? "" : " ") + complemento;
      }
      // Without a history, the accounts say what the entry is: "Caixa a Vendas".
      if (modelo.historico.empty()) modelo.historico = Contrapartida(d);
    }
    // A negative amount goes the other way.
    const bool inverte = d.Valor.int64 < 0;
    const int64_t valor = inverte ? -d.Valor.int64 : d.Valor.int64;
    Lado(inverte ? d.Credito : d.Debito, 'D', valor, rateio, modelo, lancamento);
    Lado(inverte ? d.Debito : d.Credito, 'C', valor, rateio, modelo, lancamento);
    if (lancamento->encerramento && antes_ != nullptr) DistribuiEncerramento(*antes_, lancamento);
  }

  std::string Contrapartida(const RegDados& d) const {
    const auto nome = [&](int32_t conta) {
      const auto n = nomes_.nomesContas.find(conta);
      return n != nomes_.nomesContas.end() ? n->second : std::to_string(conta);
    };
    if (d.Debito == 0 || d.Credito == 0) return nome(d.Debito != 0 ? d.Debito : d.Credito);
    return nome(d.Debito) + " a " + nome(d.Credito);
  }

  // The lines of one side: the split's lines on its account, each in its
  // centre, and the rest without one.
  void Lado(int32_t conta, char natureza, int64_t valor, const Rateio& rateio,
            const ecd::Partida& modelo, ecd::Lancamento* lancamento) {
    if (conta == 0) return;
    const int sinal = natureza == 'D' ? 1 : -1;
    std::string proprio;
    const std::string& codigo = Nomes::Codigo(nomes_.contas, conta, &proprio);
    int64_t resto = valor;
    for (const LinhaRateio& linha : rateio) {
      if (linha.contaContabil != conta) continue;
      std::string centro;
      AcrescentaLinha(&lancamento->partidas, modelo, codigo,
                      Nomes::Codigo(nomes_.centros, linha.contaGerencial, &centro),
                      sinal * linha.valor.int64);
      if (__builtin_sub_overflow(resto, linha.valor.int64, &resto)) Estourou("de um rateio");
    }
    AcrescentaLinha(&lancamento->partidas, modelo, codigo, "", sinal * resto);
  }

  SessaoLancamento& servico_;
  const Nomes& nomes_;
  int ano_;
  const Resultados* antes_;
  std::map<uint16_t, uint64_t> numeros_;
};

using Chave = std::pair<std::string, std::string>;  // account, cost centre

struct Movimento {
  int64_t debitos = 0;
  int64_t creditos = 0;
};

// Each (account, centre)'s balance: debits minus credits.
void Junta(std::map<Chave, int64_t>* saldos, const ecd::Lancamento& l) {
  for (const ecd::Partida& p : l.partidas) {
    int64_t& saldo = (*saldos)[{p.conta, p.centro}];
    saldo = Soma(saldo, Assinado(p), "dos saldos iniciais");
  }
}

}  // namespace

ecd::Livro MontaLivroEcd(SessaoLancamento& servico, int ano) {
  const Exercicio exercicio = ExercicioDoAno(ano);
  ecd::Livro livro;
  livro.inicio = exercicio.inicio;
  livro.fim = livro.fimExercicio = exercicio.fim;

  const std::shared_ptr<SuiteDatabase> db =
      AbreBancoDaEmpresa(EmpresaNomeada(servico.identidade()), "a leitura do cadastro da empresa");
  livro.empresa = LeEmpresa(*db);
  livro.signatarios = LeSignatarios(*db);

  Nomes nomes;
  const PlanoDeContas plano = LePlano(servico, 'C');
  livro.contas = Contas(plano);
  for (const Conta& c : plano.Contas()) {
    nomes.contas[c.numero] = c.classificacao;
    nomes.nomesContas[c.numero] = c.nome;
  }
  std::unordered_map<std::string, ecd::Natureza> naturezaDoCodigo;
  for (const ecd::Conta& c : livro.contas) naturezaDoCodigo[c.codigo] = c.natureza;
  const PlanoDeContas gerencial = LePlano(servico, 'G');
  for (const Conta& c : gerencial.Contas()) nomes.centros[c.numero] = c.classificacao;

  std::vector<AglutinacaoCadastro> aglutinacoes;
  ConfirmaLeitura(ListaAglutinacoes(*db, &aglutinacoes), *db,
                  "a leitura das linhas das demonstrações");
  for (const AglutinacaoCadastro& a : aglutinacoes) {
    if (plano.Tem(a.conta)) {
      livro.aglutinacoes.push_back({plano.Busca(a.conta).classificacao, a.codigo, a.descricao});
    }
  }
  std::vector<HistoricoCadastro> historicos;
  ConfirmaLeitura(ListaHistoricos(*db, &historicos), *db, "a leitura dos históricos padrão");
  for (const HistoricoCadastro& h : historicos) {
    livro.historicos.push_back({std::to_string(h.codigo), h.texto});
    nomes.historicos[h.codigo] = h.texto;
  }

  const auto deResultado = [&](const std::string& conta) {
    const auto n = naturezaDoCodigo.find(conta);
    return n != naturezaDoCodigo.end() && n->second == ecd::Natureza::kResultado;
  };
  // The result accounts' balances before the closing entries, by branch.
  auto antes = std::make_shared<Resultados>();
  const auto juntaResultado = [&](const ecd::Lancamento& l) {
    for (const ecd::Partida& p : l.partidas) {
      if (!deResultado(p.conta)) continue;
      int64_t& r = (*antes)[{l.filial, p.conta, p.centro}];
      r = Soma(r, Assinado(p), "do resultado");
    }
  };

  // The balances the year opens with, then each month's movement; the
  // closing entries of the year once every other entry is in.
  Leitor leitor(servico, nomes, ano);
  std::map<Chave, int64_t> saldos;
  const CQXData inicioLivros =
      InicioDosLivros(CadastroEmpresa(servico.identidade()).InicioExercicio(), exercicio.inicio);
  if (inicioLivros < exercicio.inicio) {
    leitor.Percorre(inicioLivros, CQXData(exercicio.inicio.Value() - 1), false,
                    [&](const ecd::Lancamento& l) {
                      Junta(&saldos, l);
                      juntaResultado(l);
                    });
  }
  bool encerrado = false;
  for (CQXData de = exercicio.inicio; !(exercicio.fim < de);
       de = CQXData(de.LastDayOfMonth().Value() + 1)) {
    std::map<Chave, Movimento> movimento;
    const auto junta = [&](const ecd::Lancamento& l) {
      for (const ecd::Partida& p : l.partidas) {
        Movimento& mov = movimento[{p.conta, p.centro}];
        int64_t& lado = p.natureza == 'D' ? mov.debitos : mov.creditos;
        lado = Soma(lado, p.valor, "dos movimentos de um mês");
      }
    };
    std::vector<ecd::Lancamento> encerramentos;
    leitor.Percorre(de, de.LastDayOfMonth(), false, [&](const ecd::Lancamento& l) {
      if (l.encerramento) {
        encerramentos.push_back(l);
        return;
      }
      junta(l);
      juntaResultado(l);
    });
    for (ecd::Lancamento& l : encerramentos) {
      DistribuiEncerramento(*antes, &l);
      junta(l);
      encerrado = true;
    }
    ecd::Periodo& periodo = livro.periodos.emplace_back();
    periodo.inicio = de;
    periodo.fim = de.LastDayOfMonth();
    for (const auto& [chave, mov] : movimento) saldos.try_emplace(chave, 0);
    for (auto& [chave, saldo] : saldos) {
      const auto mov = movimento.find(chave);
      const Movimento m = mov == movimento.end() ? Movimento{} : mov->second;
      if (saldo == 0 && m.debitos == 0 && m.creditos == 0) continue;
      periodo.saldos.push_back({chave.first, chave.second, saldo, m.debitos, m.creditos});
      saldo = Soma(Soma(saldo, m.debitos, "de um mês"), -m.creditos, "de um mês");
    }
  }
  // Only a closed year has its result before the closing (I350).
  if (encerrado) {
    std::map<Chave, int64_t> resultado;
    for (const auto& [chave, saldo] : *antes) {
      int64_t& r = resultado[{std::get<1>(chave), std::get<2>(chave)}];
      r = Soma(r, saldo, "do resultado");
    }
    ecd::Apuracao& apuracao = livro.apuracoes.emplace_back();
    apuracao.data = exercicio.fim;
    for (const auto& [chave, saldo] : resultado) {
      if (saldo != 0) apuracao.saldos.push_back({chave.first, chave.second, saldo});
    }
  }

  std::set<std::string> centros;
  for (const ecd::Periodo& p : livro.periodos) {
    for (const ecd::Saldo& s : p.saldos) {
      if (!s.centro.empty()) centros.insert(s.centro);
    }
  }
  for (const Conta& c : gerencial.Contas()) {
    if (centros.count(c.classificacao) != 0) livro.centros.push_back({c.classificacao, c.nome, {}});
  }

  ecd::MontaDemonstracoes(&livro);
  livro.lancamentos = [&servico, nomes = std::move(nomes), antes, exercicio,
                       ano](const std::function<void(const ecd::Lancamento&)>& visita) {
    Leitor(servico, nomes, ano, antes.get())
        .Percorre(exercicio.inicio, exercicio.fim, true, visita);
  };
  return livro;
}

}  // namespace qx
