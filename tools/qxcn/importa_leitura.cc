#include "importa_leitura.h"

#include <cstdio>
#include <fstream>

#include "regras.h"
#include "values/crc64.h"

namespace qxcn {
namespace {

// A line that is not UTF-8: where, and how to read it.
qx::Apontamento NaoEUtf8(const LinhaTexto& linha) {
  char byte[48];
  std::snprintf(byte, sizeof byte, "byte 0x%02X na posição %zu",
                static_cast<unsigned char>(linha.texto[linha.malformado]), linha.malformado + 1);
  return {"texto", byte, "não é UTF-8: use --codificacao latin1 ou cp1252"};
}

// The lines to import: neither the heading nor blank.
std::vector<const LinhaTexto*> LinhasDeDados(const std::vector<LinhaTexto>& texto, bool cabecalho) {
  std::vector<const LinhaTexto*> linhas;
  for (const LinhaTexto& linha : texto) {
    if ((linha.numero == 1 && cabecalho) || linha.texto.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    linhas.push_back(&linha);
  }
  return linhas;
}

// --delimitador, else the delimiter the first lines use, else the layout's.
char Delimitador(const Argumentos& a, const Layout& layout,
                 const std::vector<const LinhaTexto*>& linhas) {
  if (const auto pedido = a.Valor("delimitador")) {
    const char c = *pedido == "tab" ? '\t' : pedido->size() == 1 ? (*pedido)[0] : '\0';
    if (!DelimitadorConhecido(c)) throw ErroUso{"--delimitador: ; , | : ou tab"};
    return c;
  }
  std::vector<std::string> primeiras;
  for (size_t i = 0; i < linhas.size() && primeiras.size() < 5; ++i) {
    if (linhas[i]->malformado == std::string::npos) primeiras.push_back(linhas[i]->texto);
  }
  return ReconheceDelimitador(layout, primeiras).value_or(layout.delimitador);
}

std::string Hex(uint64_t numero) {
  char texto[17];
  std::snprintf(texto, sizeof texto, "%016llx", static_cast<unsigned long long>(numero));
  return texto;
}

}  // namespace

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

LeituraImportacao LeImportacao(const Argumentos& a, Servico& servico, Layout layout,
                               uint16_t filial) {
  const std::string nome = a.Valor("codificacao").value_or("utf8");
  const std::optional<Codificacao> codificacao = CodificacaoDeNome(nome);
  if (!codificacao) throw ErroUso{"--codificacao: " + nome + " (use " + NomesCodificacao() + ")"};
  const qx::Liberacoes liberacoes = LeLiberacoes(a);
  qx::Validador validador(servico.identidade());
  LeituraImportacao leitura;
  leitura.texto = LeLinhasTexto(a.Posicionais()[0], *codificacao);
  const std::vector<const LinhaTexto*> dados = LinhasDeDados(leitura.texto, a.Marca("cabecalho"));
  leitura.delimitador = Delimitador(a, layout, dados);
  leitura.reconhecido = !a.Valor("delimitador") && leitura.delimitador != layout.delimitador;
  layout.delimitador = leitura.delimitador;
  uint64_t digesto = 0;
  for (const LinhaTexto* lida : dados) {
    const LinhaTexto& linha = *lida;
    if (SoCamposVazios(linha.texto, layout.delimitador)) continue;
    digesto = qx::Crc64(linha.texto + '\n', digesto);
    ++leitura.linhas;
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
  leitura.digesto = "crc64:" + Hex(digesto);
  return leitura;
}

void GravaRejeitadas(const std::string& caminho, const LeituraImportacao& leitura) {
  std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
  for (const std::vector<Celula>& erro : leitura.erros.Linhas()) {
    const auto numero = static_cast<size_t>(erro[0].numero());
    const std::string motivo = "linha " + std::to_string(numero) + ": " + erro[1].texto();
    std::string campo = "\"";
    for (const char c : motivo) campo += c == '"' ? std::string("\"\"") : std::string(1, c);
    arquivo << leitura.texto[numero - 1].texto << leitura.delimitador << campo << "\"\n";
  }
  if (!arquivo.flush()) throw FalhaLocal{"não consigo escrever " + caminho};
}

}  // namespace qxcn
