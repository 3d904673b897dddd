#include "reports/validacao.h"

#include "platform/codepage.h"
#include "reports/natureza.h"
#include "storage/records/entry_records.h"
#include "values/br_text.h"

namespace qx {
namespace {

// The rules found broken, and what the liberations turn into warnings.
class Apontador {
 public:
  Apontador(Liberacoes liberacoes, Conferencia* conferencia)
      : liberacoes_(liberacoes), conferencia_(conferencia) {}

  void Quebra(std::string campo, std::string valor, std::string regra,
              Contorno contorno = Contorno::kSemValidar) {
    const bool liberado = (contorno == Contorno::kSemValidar && liberacoes_.semValidar) ||
                          (contorno == Contorno::kSubstituir && liberacoes_.substituir);
    if (liberado) {
      regra += contorno == Contorno::kSubstituir ? ": gravados como ?"
                                                 : " (gravado assim por --sem-validar)";
      Avisa(std::move(campo), std::move(valor), std::move(regra));
    } else {
      conferencia_->recusas.push_back(
          {std::move(campo), std::move(valor), std::move(regra), contorno});
    }
  }
  void Avisa(std::string campo, std::string valor, std::string regra) {
    conferencia_->avisos.push_back({std::move(campo), std::move(valor), std::move(regra)});
  }

 private:
  Liberacoes liberacoes_;
  Conferencia* conferencia_;
};

std::string Numero(int64_t n) { return std::to_string(n); }

// An account of a chart: there, and one that takes entries.
void ConfereConta(Apontador& a, const char* campo, int32_t conta, char tipo, const char* plano) {
  if (tipo == '\0') {
    a.Quebra(campo, Numero(conta), std::string("não está no ") + plano);
  } else if (tipo == kContaSintetica) {
    a.Quebra(
        campo, Numero(conta),
        std::string("é conta sintética (de totais) do ") + plano + ": lance numa conta analítica");
  }
}

std::string Juntos(const std::vector<std::string>& partes) {
  std::string texto;
  for (const std::string& parte : partes) texto += (texto.empty() ? "" : " ") + parte;
  return texto;
}

// Cost centres in the managerial chart, lines above zero adding up to the amount.
void ConfereRateio(Apontador& a, CadastroEmpresa& cadastro, const LancamentoAGravar& lancamento) {
  CURRENCY soma{};
  bool estouro = false;
  for (const RegLan_Ger& linha : lancamento.rateio) {
    ConfereConta(a, "conta gerencial", linha.ContaGerencial,
                 cadastro.TipoContaGerencial(linha.ContaGerencial), "plano gerencial");
    if (linha.Valor.int64 <= 0) {
      a.Quebra("valor do rateio", AmountText(linha.Valor), "deve ser maior que zero");
    }
    const RegDados& d = lancamento.dados;
    if (linha.ContaContabil == 0 ||
        (linha.ContaContabil != d.Debito && linha.ContaContabil != d.Credito)) {
      a.Quebra("conta contábil do rateio", Numero(linha.ContaContabil),
               "não é o débito nem o crédito do lançamento");
    }
    estouro = estouro || __builtin_add_overflow(soma.int64, linha.Valor.int64, &soma.int64);
  }
  if (!lancamento.rateio.empty() && (estouro || soma.int64 != lancamento.dados.Valor.int64)) {
    a.Quebra("rateio", estouro ? "acima do maior valor" : AmountText(soma),
             "não soma o valor do lançamento (" + AmountText(lancamento.dados.Valor) + ")");
  }
}

// The complement in the code page, with what it loses said.
std::string ConfereComplemento(Apontador& a, const std::string& utf8) {
  const std::vector<std::string> fora = MissingFromCp1252(utf8);
  if (!fora.empty()) {
    a.Quebra("complemento", Juntos(fora),
             "a página de código da empresa (Windows-1252) não tem esses caracteres",
             Contorno::kSubstituir);
  }
  const std::string texto = Utf8ToCp1252(utf8);
  if (texto.size() > kComplementMaxStored) {
    a.Avisa("complemento", Numero(static_cast<int64_t>(texto.size())) + " caracteres",
            "ficam os primeiros " + Numero(kComplementMaxStored));
  }
  return texto;
}

}  // namespace

void Validador::CompletaRateio(LancamentoAGravar* lancamento) {
  const RegDados& d = lancamento->dados;
  for (RegLan_Ger& linha : lancamento->rateio) {
    if (linha.ContaContabil != 0) continue;
    linha.ContaContabil =
        ContaDoRateio(d, cadastro_.NaturezaConta(d.Debito), cadastro_.NaturezaConta(d.Credito));
  }
}

std::string Apontamento::Linha() const {
  return campo + (valor.empty() ? "" : " " + valor) + ": " + regra;
}

std::string Motivos(const std::vector<Apontamento>& apontamentos) {
  std::string texto;
  for (const Apontamento& a : apontamentos) texto += (texto.empty() ? "" : "; ") + a.Linha();
  return texto;
}

Conferencia Validador::Confere(const LancamentoAGravar& lancamento, Liberacoes liberacoes) {
  Conferencia conferencia;
  Apontador a(liberacoes, &conferencia);
  const RegDados& d = lancamento.dados;

  if (d.Debito == 0 && d.Credito == 0) {
    a.Quebra("débito e crédito", "0 e 0", "é preciso ao menos uma das contas");
  }
  for (const auto& [campo, conta] : {std::pair{"débito", d.Debito}, {"crédito", d.Credito}}) {
    if (conta != 0) ConfereConta(a, campo, conta, cadastro_.TipoConta(conta), "plano de contas");
  }
  if (d.Debito != 0 && d.Credito == d.Debito) {
    a.Quebra("crédito", Numero(d.Credito), "é a mesma conta do débito");
  }
  if (d.Valor.int64 <= 0) a.Quebra("valor", AmountText(d.Valor), "deve ser maior que zero");
  const auto historico = static_cast<uint16_t>(d.CodHis);
  if (historico != 0 && !cadastro_.TemHistorico(historico)) {
    a.Quebra("histórico", Numero(historico), "não está nos históricos padrão da empresa");
  }
  const auto filial = static_cast<uint16_t>(d.Filial);
  if (!cadastro_.FilialAtiva(filial)) {
    a.Quebra("filial", Numero(filial),
             "não é filial ativa do usuário " + Numero(cadastro_.identidade().usuario));
  }
  const CQXData data(d.DataLancamento);
  const CQXData inicio = cadastro_.InicioExercicio(), fim = cadastro_.FimExercicio();
  if ((!inicio.IsEmpty() && data.Value() < inicio.Value()) ||
      (!fim.IsEmpty() && data.Value() > fim.Value())) {
    a.Quebra("data", DateText(data),
             "fora do exercício da empresa (" + DateText(inicio) + " a " + DateText(fim) + ")");
  }

  ConfereRateio(a, cadastro_, lancamento);
  for (const RegQtd_Ger& quantidade : lancamento.quantidades) {
    if (quantidade.Quantidade.int64 != 0 && !cadastro_.QuantidadeGerencial()) {
      a.Quebra("quantidade", AmountText(quantidade.Quantidade),
               "a empresa não guarda quantidades gerenciais: ligue a configuração "
               "quantidades-gerenciais",
               Contorno::kConfiguracao);
      break;
    }
  }
  if ((d.ValorMoeda.int64 != 0 || d.cGravarZero == 'S') && !cadastro_.MoedaEstrangeira()) {
    a.Quebra("moeda", AmountText(d.ValorMoeda),
             "a empresa não guarda valores em moeda estrangeira: ligue a configuração "
             "moeda-estrangeira",
             Contorno::kConfiguracao);
  }

  conferencia.complemento = ConfereComplemento(a, lancamento.complemento);
  return conferencia;
}

}  // namespace qx
