#include "common/historico.h"

#include "common/filtro_historico.h"
#include "outside/database/timestamp.h"
#include "platform/codepage.h"
#include "reports/falha.h"

namespace qx::cli {
namespace {

using qx::Campo;

std::string Forma(const Celula& celula, bool pessoas) {
  return pessoas ? celula.ParaPessoas() : celula.ParaCsv();
}

// Split lines as --gerencial takes them, CONTA:VALOR, with "x QUANTIDADE"
// when the company keeps quantities; "; " between lines.
std::string Linhas(const std::vector<qx::LinhaRateioGravada>& linhas, bool pessoas) {
  std::string texto;
  for (const qx::LinhaRateioGravada& l : linhas) {
    if (!texto.empty()) texto += "; ";
    texto += std::to_string(l.conta) + ":" + Forma(CURRENCY{l.valor}, pessoas);
    if (l.quantidade) texto += " x " + Forma(CURRENCY{*l.quantidade}, pessoas);
  }
  return texto;
}

Celula Valor(Campo campo, const qx::ValorCampo& v, bool pessoas) {
  switch (campo) {
    case Campo::kData:
    case Campo::kFechadoDe:
    case Campo::kFechadoAte:
      return CQXData(static_cast<uint32_t>(v.numero));
    case Campo::kValor:
    case Campo::kValorMoeda:
      return CURRENCY{v.numero};
    case Campo::kComplemento:
      return TextoCp1252(v.texto);
    case Campo::kOrigem:
      return v.texto;
    case Campo::kGerencial:
      return Linhas(v.linhas, pessoas);
    case Campo::kConferido:
      return v.numero != 0;
    default:
      return v.numero;
  }
}

// "?" where the log cannot tell the old value (an entry older than its
// history); nothing where there is none.
Celula Lado(Campo campo, const std::optional<qx::ValorCampo>& valor, bool desconhecido,
            bool pessoas) {
  if (desconhecido) return "?";
  return valor ? Valor(campo, *valor, pessoas) : Celula();
}

// As the log keeps it ("2026-03-15 10:00:00.123"), for people 15/03/2026 10:00:00.
std::string Momento(const std::string& gravadoEm, bool pessoas) {
  return pessoas ? TimestampParaPessoas(gravadoEm) : gravadoEm;
}

}  // namespace

std::vector<EventoHistorico> LeHistoricoDaEmpresa(const std::string& empresa,
                                                  const FiltroEventos& filtro) {
  std::vector<EventoHistorico> eventos;
  std::string mensagem;
  if (const HRESULT hr = LeHistorico(empresa, filtro, &eventos, &mensagem); FAILED(hr)) {
    throw FalhaServico{hr, "ler o histórico da empresa " + empresa, {}, Cp1252ToUtf8(mensagem)};
  }
  return eventos;
}

Tabela TabelaHistorico(const std::vector<EventoHistorico>& eventos, bool pessoas) {
  Tabela tabela(
      {"momento", "usuario", "sessao", "tipo", "mes", "pos", "lote", "campo", "antes", "depois"});
  for (const qx::EventoHistorico& e : eventos) {
    std::vector<Celula> evento = {Momento(e.gravadoEm, pessoas),
                                  e.usuario ? Celula(*e.usuario) : Celula(),
                                  e.sessao,
                                  NomeTipoEvento(e.tipo),
                                  e.mes,
                                  e.posicao,
                                  e.lote != 0 ? Celula(e.lote) : Celula()};
    const auto linha = [&](std::vector<Celula> mudanca) {
      std::vector<Celula> celulas = evento;
      celulas.insert(celulas.end(), mudanca.begin(), mudanca.end());
      tabela.Linha(std::move(celulas));
      // People read the event once, above its changes.
      if (pessoas) evento.assign(evento.size(), Celula());
    };
    if (e.mudancas.empty()) {
      linha({Celula(), Celula(), e.descricao.empty() ? Celula() : TextoCp1252(e.descricao)});
    }
    for (const qx::Mudanca& m : e.mudancas) {
      linha({qx::NomeCampo(m.campo), Lado(m.campo, m.antes, m.antesDesconhecido, pessoas),
             Lado(m.campo, m.depois, false, pessoas)});
    }
  }
  return tabela;
}

}  // namespace qx::cli
