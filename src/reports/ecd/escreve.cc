#include "reports/ecd/escreve.h"

#include <cstdint>

#include "reports/ecd/aglutinacao.h"
#include "reports/ecd/formato.h"
#include "reports/ecd/saida_ecd.h"
#include "values/registro_pj.h"

namespace qx::ecd {
namespace {

constexpr std::string_view kVersaoLeiaute = "9.00";

std::string Numero(uint64_t n) { return std::to_string(n); }
std::string_view Sim(bool sim) { return sim ? "S" : "N"; }
std::string_view Letra(const char& c) { return std::string_view(&c, 1); }
std::string Codigo(Natureza natureza) {
  const int n = static_cast<int>(natureza);
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// The closing register of a block: the block's lines with itself.
void FechaBloco(SaidaEcd& saida, std::string_view registro) {
  saida.Linha({registro, Numero(saida.LinhasDoBloco() + 1)});
}

class Escrita {
 public:
  Escrita(const Livro& livro, SaidaEcd& saida, uint64_t totalLinhas)
      : livro_(livro),
        saida_(saida),
        total_(Numero(totalLinhas)),
        codigos_(CodigosDeAglutinacao(livro)) {}

  void Escreve() {
    Bloco0();
    BlocoI();
    BlocoJ();
    Bloco9();
  }

 private:
  void Bloco0() {
    const Empresa& e = livro_.empresa;
    saida_.Linha({"0000",
                  "LECD",
                  Data(livro_.inicio),
                  Data(livro_.fim),
                  e.razaoSocial,
                  e.cnpj,
                  e.uf,
                  e.inscricaoEstadual,
                  e.municipio,
                  e.inscricaoMunicipal,
                  "",
                  Numero(static_cast<uint64_t>(livro_.situacaoInicio)),
                  e.nire.empty() ? "0" : "1",
                  "0",
                  "",
                  e.grandePorte ? "1" : "0",
                  "0",
                  "",
                  "N",
                  "N",
                  "0",
                  "0",
                  ""});
    saida_.Linha({"0001", "0"});
    if (e.inscricaoEstadual.empty()) {
      saida_.Linha({"0007", "00", ""});
    } else {
      saida_.Linha({"0007", e.uf, e.inscricaoEstadual});
    }
    FechaBloco(saida_, "0990");
  }

  void BlocoI() {
    const Empresa& e = livro_.empresa;
    saida_.Linha({"I001", "0"});
    saida_.Linha({"I010", "G", kVersaoLeiaute});
    saida_.Linha({"I030", "TERMO DE ABERTURA", Numero(livro_.numeroLivro), livro_.naturezaLivro,
                  total_, e.razaoSocial, e.nire, e.cnpj, Data(e.arquivamento), Data(e.conversao),
                  e.nomeMunicipio, Data(livro_.fimExercicio)});
    for (const Conta& c : livro_.contas) {
      saida_.Linha({"I050", Data(c.alteracao.IsEmpty() ? livro_.inicio : c.alteracao),
                    Codigo(c.natureza), c.analitica ? "A" : "S",
                    Numero(static_cast<uint64_t>(c.nivel)), c.codigo, c.superior, c.nome});
      const auto codigo = codigos_.find(c.codigo);
      if (codigo != codigos_.end()) saida_.Linha({"I052", "", codigo->second});
    }
    for (const Historico& h : livro_.historicos) saida_.Linha({"I075", h.codigo, h.texto});
    for (const CentroCusto& c : livro_.centros) {
      saida_.Linha(
          {"I100", Data(c.alteracao.IsEmpty() ? livro_.inicio : c.alteracao), c.codigo, c.nome});
    }
    for (const Periodo& p : livro_.periodos) {
      saida_.Linha({"I150", Data(p.inicio), Data(p.fim)});
      for (const Saldo& s : p.saldos) {
        const int64_t final = Soma(Soma(s.inicial, s.debitos), -s.creditos);
        const char ini = Indicador(s.inicial), fim = Indicador(final);
        saida_.Linha({"I155", s.conta, s.centro, Valor(s.inicial), Letra(ini), Valor(s.debitos),
                      Valor(s.creditos), Valor(final), Letra(fim)});
      }
    }
    livro_.lancamentos([&](const Lancamento& l) { Entrada(l); });
    for (const Apuracao& a : livro_.apuracoes) {
      saida_.Linha({"I350", Data(a.data)});
      for (const SaldoResultado& s : a.saldos) {
        const char dc = Indicador(s.saldo);
        saida_.Linha({"I355", s.conta, s.centro, Valor(s.saldo), Letra(dc)});
      }
    }
    FechaBloco(saida_, "I990");
  }

  void Entrada(const Lancamento& l) {
    int64_t valor = 0;
    for (const Partida& p : l.partidas) Acumula(valor, p.natureza == 'D' ? p.valor : 0);
    saida_.Linha(
        {"I200", NumeroLancamento(l), Data(l.data), Valor(valor), l.encerramento ? "E" : "N", ""});
    for (const Partida& p : l.partidas) {
      saida_.Linha({"I250", p.conta, p.centro, Valor(p.valor), Letra(p.natureza), p.documento,
                    p.historicoPadrao, p.historico, ""});
    }
  }

  void BlocoJ() {
    saida_.Linha({"J001", "0"});
    if (!livro_.balanco.empty() || !livro_.dre.empty()) {
      const CQXData fim = livro_.fimExercicio.IsEmpty() ? livro_.fim : livro_.fimExercicio;
      saida_.Linha({"J005", Data(livro_.inicio), Data(fim), "1", ""});
    }
    for (const LinhaDemonstracao& l : livro_.balanco) {
      const char ini = Indicador(l.inicial), fim = Indicador(l.final);
      saida_.Linha({"J100", l.codigo, l.totalizadora ? "T" : "D",
                    Numero(static_cast<uint64_t>(l.nivel)), l.superior, Letra(l.grupo), l.descricao,
                    Valor(l.inicial), Letra(ini), Valor(l.final), Letra(fim), ""});
    }
    uint64_t ordem = 0;
    for (const LinhaDemonstracao& l : livro_.dre) {
      const char fim = Indicador(l.final);
      saida_.Linha({"J150", Numero(++ordem), l.codigo, l.totalizadora ? "T" : "D",
                    Numero(static_cast<uint64_t>(l.nivel)), l.superior, l.descricao, "", "",
                    Valor(l.final), Letra(fim), Letra(l.grupo), ""});
    }
    saida_.Linha({"J900", "TERMO DE ENCERRAMENTO", Numero(livro_.numeroLivro), livro_.naturezaLivro,
                  livro_.empresa.razaoSocial, total_, Data(livro_.inicio), Data(livro_.fim)});
    for (const Signatario& s : livro_.signatarios) {
      saida_.Linha({"J930", s.nome, s.documento, QualificacaoAssinante(s.qualificacao),
                    s.qualificacao, s.crc, s.email, s.telefone, s.ufCrc, s.certidaoCrc,
                    Data(s.validadeCertidao), Sim(s.responsavelLegal)});
    }
    FechaBloco(saida_, "J990");
  }

  void Bloco9() {
    saida_.Linha({"9001", "0"});
    // 9900 names every register, itself and the two closing ones too.
    auto registros = saida_.Registros();
    registros.emplace_back("9900", registros.size() + 3);
    registros.emplace_back("9990", 1);
    registros.emplace_back("9999", 1);
    for (const auto& [registro, quantidade] : registros) {
      saida_.Linha({"9900", registro, Numero(quantidade)});
    }
    // The block's lines count the file's last line too.
    saida_.Linha({"9990", Numero(saida_.LinhasDoBloco() + 2)});
    saida_.Linha({"9999", Numero(saida_.Linhas() + 1)});
  }

  const Livro& livro_;
  SaidaEcd& saida_;
  std::string total_;
  std::unordered_map<std::string, std::string> codigos_;
};

}  // namespace

std::string NumeroLancamento(const Lancamento& lancamento) {
  return Numero(lancamento.filial) + "-" + Numero(lancamento.numero);
}

void EscreveEcd(const Livro& livro, std::ostream& destino) {
  SaidaEcd contagem(nullptr);
  Escrita(livro, contagem, 0).Escreve();
  SaidaEcd saida(&destino);
  Escrita(livro, saida, contagem.Linhas()).Escreve();
}

}  // namespace qx::ecd
