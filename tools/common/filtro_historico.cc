#include "common/filtro_historico.h"

#include <cstdio>

#include "common/falhas.h"
#include "outside/database/import_batches.h"
#include "outside/database/timestamp.h"

namespace qx::cli {
namespace {

struct TipoEvento {
  char tipo;
  const char* nome;
  const char* semAcento;  // as a shell without accents types it
};
constexpr TipoEvento kTipos[] = {{kEventoNovo, "novo", "novo"},
                                 {kEventoAlterado, "alterado", "alterado"},
                                 {kEventoExcluido, "excluído", "excluido"},
                                 {kEventoConferido, "conferido", "conferido"},
                                 {kEventoPeriodo, "período", "periodo"},
                                 {kEventoRecuperacao, "recuperação", "recuperacao"}};

// "DD/MM/AAAA" (or 2026-03-15), then optionally " HH:MM" or " HH:MM:SS":
// the first or the last millisecond of what it names.
std::string Momento(const Argumentos& a, const std::string& nome, bool fim) {
  const std::optional<std::string> texto = a.Valor(nome);
  if (!texto) return "";
  const size_t espaco = texto->find_first_of(" T");
  const CQXData dia = a.LeData(texto->substr(0, espaco), "--" + nome);
  int hora = fim ? 23 : 0, minuto = fim ? 59 : 0, segundo = fim ? 59 : 0;
  if (espaco != std::string::npos) {
    char resto = '\0';
    const int lidos =
        std::sscanf(texto->c_str() + espaco + 1, "%2d:%2d:%2d%c", &hora, &minuto, &segundo, &resto);
    if (lidos < 2 || lidos > 3 || hora > 23 || minuto > 59 || segundo > 59 || hora < 0 ||
        minuto < 0 || segundo < 0) {
      throw ErroUso{"--" + nome + ": use DD/MM/AAAA ou DD/MM/AAAA HH:MM[:SS]: " + *texto};
    }
  }
  SYSTEMTIME quando{};
  quando.wYear = static_cast<uint16_t>(dia.Year());
  quando.wMonth = static_cast<uint16_t>(dia.Month());
  quando.wDay = static_cast<uint16_t>(dia.Day());
  quando.wHour = static_cast<uint16_t>(hora);
  quando.wMinute = static_cast<uint16_t>(minuto);
  quando.wSecond = static_cast<uint16_t>(segundo);
  quando.wMilliseconds = fim ? 999 : 0;
  return TimestampText(quando);
}

char LeTipo(const std::string& texto) {
  for (const TipoEvento& t : kTipos) {
    if (texto == t.nome || texto == t.semAcento) return t.tipo;
  }
  throw ErroUso{"--tipo: use novo, alterado, excluido, conferido, periodo ou recuperacao: " +
                texto};
}

}  // namespace

std::vector<Opcao> OpcoesFiltroHistorico(bool usuarioESessao) {
  std::vector<Opcao> opcoes = {
      {"de", "DD/MM/AAAA[ HH:MM]", "as alterações deste momento em diante"},
      {"ate", "DD/MM/AAAA[ HH:MM]", "as alterações até este momento (o dia inteiro sem hora)"},
      {"mes", "MM/AAAA", "o mês do lançamento"},
      {"pos", "N", "a posição do lançamento no mês (com --mes): toda a sua história"},
      {"tipo", "TIPO",
       "novo, alterado, excluido, conferido, periodo (fechamento) ou recuperacao (repita para "
       "mais)",
       true, "novo alterado excluido conferido periodo recuperacao"},
      {"lote", "N", "o lote de uma importação: a importação e a sua exclusão"}};
  if (usuarioESessao) {
    opcoes.push_back({"usuario", "N", "as alterações deste usuário"});
    opcoes.push_back({"sessao", "N", "as alterações desta sessão"});
  }
  return opcoes;
}

FiltroEventos LeFiltroHistorico(const Argumentos& a) {
  FiltroEventos filtro;
  filtro.de = Momento(a, "de", false);
  filtro.ate = Momento(a, "ate", true);
  if (const auto mes = a.MesAno("mes")) filtro.mes = mes->Value();
  if (const auto posicao = a.Inteiro("pos", 1, 0xFFFFFF)) {
    if (filtro.mes == 0) throw ErroUso{"--pos: diga também o mês (--mes MM/AAAA)"};
    filtro.posicao = static_cast<int32_t>(*posicao);
  }
  if (const auto usuario = a.Inteiro("usuario", 0, UINT16_MAX)) {
    filtro.usuario = static_cast<uint16_t>(*usuario);
  }
  if (const auto sessao = a.Inteiro("sessao", 0, UINT32_MAX)) {
    filtro.sessao = static_cast<uint32_t>(*sessao);
  }
  for (const std::string& tipo : a.Valores("tipo")) filtro.tipos += LeTipo(tipo);
  if (const auto lote = a.Inteiro("lote", 1, kMaiorLoteImportacao))
    filtro.lote = static_cast<uint32_t>(*lote);
  return filtro;
}

std::string NomeTipoEvento(char tipo) {
  for (const TipoEvento& t : kTipos) {
    if (t.tipo == tipo) return t.nome;
  }
  return std::string(1, tipo);
}

}  // namespace qx::cli
