#include "common/falhas.h"

#include "common/dicas.h"
#include "diagnostics/code_texts.h"

namespace qx::cli {

Relato Relata(const Falha& falha, const Textos& textos) {
  const CodeText texto = DescribeCode(falha.hr);
  const Dica* dica = ProcuraDica(falha.hr, falha.contexto);
  Relato relato{CodigoFalha(falha.hr), texto.name, texto.description, "", ""};
  if (dica != nullptr) {
    if (dica->descricao != nullptr) relato.descricao = dica->descricao;
    relato.dica = dica->oQueFazer;
  }
  if (!falha.detalhe.empty()) relato.descricao = falha.detalhe;
  if (!falha.dica.empty()) relato.dica += (relato.dica.empty() ? "" : "; ") + falha.dica;
  relato.mensagem = Formata(textos.falhou, {falha.contexto}) + ": " +
                    LinhaFalha(relato.codigo, relato.simbolo, relato.descricao);
  return relato;
}

}  // namespace qx::cli
