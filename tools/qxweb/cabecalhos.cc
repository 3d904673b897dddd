#include "cabecalhos.h"

#include <string_view>
#include <utility>

namespace qxweb {
namespace {

// Whole keys whose words alone would read wrong.
constexpr std::pair<std::string_view, std::string_view> kChaves[] = {
    {"pos", "Posição"},
    {"nome_centro", "Nome do centro"},
    {"nome_conta", "Nome da conta"},
    {"valor_moeda", "Valor em moeda"},
    {"conferido", "Conferido"},
    {"findings", "Achados"},
    {"class", "Classe"},
    {"kind", "Tipo"},
    {"file", "Arquivo"},
    {"unit", "Unidade"},
    {"position", "Posição"},
    {"last", "Última"},
    {"difference_mode", "Modo das diferenças"},
    {"difference_per_branch", "Diferenças por filial"},
    {"reason", "Motivo"},
    {"records", "Registros"},
    {"files", "Arquivos"},
    {"damage", "Danos"},
    {"admitted", "Admitidos"},
    {"sound", "Sem dano"},
    {"folder", "Pasta"},
};

// Words as the keys spell them, and as people write them.
constexpr std::pair<std::string_view, std::string_view> kPalavras[] = {
    {"ate", "até"},
    {"classificacao", "classificação"},
    {"codigo", "código"},
    {"contabil", "contábil"},
    {"credito", "crédito"},
    {"creditos", "créditos"},
    {"debito", "débito"},
    {"debitos", "débitos"},
    {"descricao", "descrição"},
    {"diferenca", "diferença"},
    {"excluidos", "excluídos"},
    {"historico", "histórico"},
    {"lancamento", "lançamento"},
    {"lancamentos", "lançamentos"},
    {"mes", "mês"},
    {"nivel", "nível"},
    {"numero", "número"},
    {"pagina", "página"},
    {"posicao", "posição"},
    {"sessao", "sessão"},
    {"usuario", "usuário"},
    {"abreviacao", "abreviação"},
};

std::string Palavra(std::string_view palavra) {
  for (const auto& [chave, escrita] : kPalavras) {
    if (chave == palavra) return std::string(escrita);
  }
  return std::string(palavra);
}

}  // namespace

std::string Cabecalho(const std::string& coluna) {
  for (const auto& [chave, escrita] : kChaves) {
    if (chave == coluna) return std::string(escrita);
  }
  std::string texto;
  for (size_t inicio = 0; inicio <= coluna.size();) {
    const size_t fim = std::min(coluna.find('_', inicio), coluna.size());
    texto += (texto.empty() ? "" : " ") + Palavra(std::string_view(coluna).substr(inicio, fim - inicio));
    inicio = fim + 1;
  }
  if (!texto.empty() && texto[0] >= 'a' && texto[0] <= 'z') texto[0] = static_cast<char>(texto[0] - 'a' + 'A');
  return texto;
}

}  // namespace qxweb
