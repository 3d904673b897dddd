#include "common/falhas.h"

#include <cstdio>

#include "common/dicas.h"
#include "diagnostics/code_texts.h"

namespace qx::cli {

namespace {

std::string Codigo(HRESULT hr) {
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "0x%08X", static_cast<uint32_t>(hr));
  return codigo;
}

// "0x80043E95 NAME: description", as far as there is a name and a description.
std::string Linha(const std::string& codigo, const std::string& simbolo,
                  const std::string& descricao) {
  std::string linha = codigo;
  if (!simbolo.empty()) linha += " " + simbolo;
  if (!descricao.empty()) linha += ": " + descricao;
  return linha;
}

}  // namespace

std::string DescreveFalha(HRESULT hr) {
  const CodeText texto = DescribeCode(hr);
  return Linha(Codigo(hr), texto.name, texto.description);
}

Relato Relata(const Falha& falha, const Textos& textos) {
  const CodeText texto = DescribeCode(falha.hr);
  const Dica* dica = ProcuraDica(falha.hr, falha.contexto);
  Relato relato{Codigo(falha.hr), texto.name, texto.description, "", ""};
  if (dica != nullptr) {
    if (dica->descricao != nullptr) relato.descricao = dica->descricao;
    relato.dica = dica->oQueFazer;
  }
  if (!falha.detalhe.empty()) relato.descricao = falha.detalhe;
  if (!falha.dica.empty()) relato.dica += (relato.dica.empty() ? "" : "; ") + falha.dica;
  relato.mensagem = Formata(textos.falhou, {falha.contexto}) + ": " +
                    Linha(relato.codigo, relato.simbolo, relato.descricao);
  return relato;
}

}  // namespace qx::cli
