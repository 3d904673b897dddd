#include "importa_leitura.h"

#include <fstream>

#include "regras.h"

namespace qxcn {

std::vector<Opcao> OpcoesLeituraImportacao() {
  return Junta(
      {std::vector<Opcao>{
           {"codificacao", "NOME", "a codificação do arquivo: utf8 (por omissão), latin1 ou cp1252",
            false, NomesCodificacao()},
           {"cabecalho", "", "pula a primeira linha, de cabeçalho"},
           {"delimitador", "C",
            "o separador dos campos: ; , | : ou tab (por omissão, o que as linhas usam)", false,
            "; , | : tab"}},
       OpcoesRegras()});
}

LeituraImportacao LeImportacao(const Argumentos& a, Servico& servico, const Layout& layout,
                               uint16_t filial) {
  const std::string nome = a.Valor("codificacao").value_or("utf8");
  const std::optional<Codificacao> codificacao = CodificacaoDeNome(nome);
  if (!codificacao) throw ErroUso{"--codificacao: " + nome + " (use " + NomesCodificacao() + ")"};
  qx::PedidoLeitura pedido{layout, filial, a.Marca("cabecalho"), std::nullopt, LeLiberacoes(a)};
  qx::Validador validador(servico.identidade());
  std::vector<LinhaTexto> texto = LeLinhasTexto(a.Posicionais()[0], *codificacao);
  if (const auto delimitador = a.Valor("delimitador")) {
    const char c = *delimitador == "tab"      ? '\t'
                   : delimitador->size() == 1 ? (*delimitador)[0]
                                              : '\0';
    if (!qx::DelimitadorConhecido(c)) throw ErroUso{"--delimitador: ; , | : ou tab"};
    pedido.delimitador = c;
  }
  LeituraImportacao leitura{qx::LeImportacao(std::move(texto), pedido, validador)};
  for (const qx::LinhaRecusada& r : leitura.lida.recusadas) {
    leitura.erros.Linha({static_cast<int64_t>(r.numero), r.motivo});
  }
  for (const qx::AvisoDeLinha& aviso : leitura.lida.avisos) {
    const qx::Apontamento& a = aviso.aviso;
    leitura.avisos.Linha({static_cast<int64_t>(aviso.numero), a.campo, a.valor, a.regra});
  }
  return leitura;
}

void GravaRejeitadas(const std::string& caminho, const LeituraImportacao& leitura) {
  std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
  for (const std::vector<Celula>& erro : leitura.erros.Linhas()) {
    const auto numero = static_cast<size_t>(erro[0].numero());
    const std::string motivo = "linha " + std::to_string(numero) + ": " + erro[1].texto();
    std::string campo = "\"";
    for (const char c : motivo) campo += c == '"' ? std::string("\"\"") : std::string(1, c);
    arquivo << leitura.lida.texto[numero - 1].texto << leitura.lida.delimitador << campo << "\"\n";
  }
  if (!arquivo.flush()) throw FalhaLocal{"não consigo escrever " + caminho};
}

}  // namespace qxcn
