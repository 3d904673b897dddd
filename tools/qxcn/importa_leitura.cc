#include "importa_leitura.h"

#include <cstdio>

#include "arquivo_texto.h"
#include "regras.h"

namespace qxcn {
namespace {

// A line that is not UTF-8: where, and how to read it.
qx::Apontamento NaoEUtf8(const LinhaTexto& linha) {
  char byte[48];
  std::snprintf(byte, sizeof byte, "byte 0x%02X na posição %zu",
                static_cast<unsigned char>(linha.texto[linha.malformado]), linha.malformado + 1);
  return {"texto", byte, "não é UTF-8: use --codificacao latin1 ou cp1252"};
}

}  // namespace

std::vector<Opcao> OpcoesLeituraImportacao() {
  return Junta(
      {std::vector<Opcao>{
           {"codificacao", "NOME", "a codificação do arquivo: utf8 (por omissão), latin1 ou cp1252",
            false, NomesCodificacao()},
           {"cabecalho", "", "pula a primeira linha, de cabeçalho"}},
       OpcoesRegras()});
}

LeituraImportacao LeImportacao(const Argumentos& a, Servico& servico, const Layout& layout,
                               uint16_t filial) {
  const std::string nome = a.Valor("codificacao").value_or("utf8");
  const std::optional<Codificacao> codificacao = CodificacaoDeNome(nome);
  if (!codificacao) throw ErroUso{"--codificacao: " + nome + " (use " + NomesCodificacao() + ")"};
  const qx::Liberacoes liberacoes = LeLiberacoes(a);
  qx::Validador validador(servico.identidade());
  LeituraImportacao leitura;
  for (const LinhaTexto& linha : LeLinhasTexto(a.Posicionais()[0], *codificacao)) {
    if ((linha.numero == 1 && a.Marca("cabecalho")) ||
        linha.texto.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    const auto numero = static_cast<int64_t>(linha.numero);
    std::vector<qx::Apontamento> recusas;
    qx::LancamentoAGravar lancamento;
    qx::Apontamento motivo;
    if (linha.malformado != std::string::npos) {
      recusas.push_back(NaoEUtf8(linha));
    } else if (!LeLinha(layout, linha.texto, filial, &lancamento, &motivo)) {
      if (linha.numero == 1 && PareceCabecalho(layout, linha.texto)) {
        motivo.regra += "; a linha parece um cabeçalho: use --cabecalho";
      }
      recusas.push_back(std::move(motivo));
    } else {
      validador.CompletaRateio(&lancamento);
      qx::Conferencia conferencia = validador.Confere(lancamento, liberacoes);
      recusas = std::move(conferencia.recusas);
      if (recusas.empty()) {
        for (const qx::Apontamento& aviso : conferencia.avisos) {
          leitura.avisos.Linha({numero, aviso.campo, aviso.valor, aviso.regra});
        }
        leitura.lidas.push_back(
            {linha.numero,
             {lancamento.dados, std::move(conferencia.complemento), std::move(lancamento.rateio),
              std::move(lancamento.quantidades)}});
      }
    }
    if (!recusas.empty()) {
      leitura.erros.Linha({numero, Motivos(recusas)});
      leitura.recusas.insert(leitura.recusas.end(), recusas.begin(), recusas.end());
    }
  }
  return leitura;
}

}  // namespace qxcn
