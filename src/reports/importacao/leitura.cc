#include "reports/importacao/leitura.h"

#include <cstdio>

#include "values/crc64.h"

namespace qx {
namespace {

// A line that is not UTF-8: where, and how to read it.
Apontamento NaoEUtf8(const LinhaTexto& linha) {
  char byte[48];
  std::snprintf(byte, sizeof byte, "byte 0x%02X na posição %zu",
                static_cast<unsigned char>(linha.texto[linha.malformado]), linha.malformado + 1);
  return {"texto", byte, "não é UTF-8: use --codificacao latin1 ou cp1252"};
}

// The lines to import: neither the heading nor blank.
std::vector<const LinhaTexto*> LinhasDeDados(const std::vector<LinhaTexto>& texto, bool cabecalho) {
  std::vector<const LinhaTexto*> linhas;
  for (const LinhaTexto& linha : texto) {
    if ((linha.numero == 1 && cabecalho) ||
        linha.texto.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    linhas.push_back(&linha);
  }
  return linhas;
}

// The delimiter the first lines use, else the layout's.
char Delimitador(const Layout& layout, const std::vector<const LinhaTexto*>& linhas) {
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

LeituraImportacao LeImportacao(std::vector<LinhaTexto> texto, const PedidoLeitura& pedido,
                               Validador& validador) {
  LeituraImportacao leitura;
  leitura.texto = std::move(texto);
  Layout layout = pedido.layout;
  const std::vector<const LinhaTexto*> dados = LinhasDeDados(leitura.texto, pedido.cabecalho);
  leitura.delimitador = pedido.delimitador ? *pedido.delimitador : Delimitador(layout, dados);
  leitura.reconhecido = !pedido.delimitador && leitura.delimitador != layout.delimitador;
  layout.delimitador = leitura.delimitador;
  uint64_t digesto = 0;
  for (const LinhaTexto* lida : dados) {
    const LinhaTexto& linha = *lida;
    if (SoCamposVazios(linha.texto, layout.delimitador)) continue;
    digesto = Crc64(linha.texto + '\n', digesto);
    ++leitura.linhas;
    std::vector<Apontamento> recusas;
    LancamentoAGravar lancamento;
    Apontamento motivo;
    if (linha.malformado != std::string::npos) {
      recusas.push_back(NaoEUtf8(linha));
    } else if (!LeLinha(layout, linha.texto, pedido.filial, &lancamento, &motivo)) {
      if (linha.numero == 1 && PareceCabecalho(layout, linha.texto)) {
        motivo.regra += "; a linha parece um cabeçalho: use --cabecalho";
      }
      recusas.push_back(std::move(motivo));
    } else {
      validador.CompletaRateio(&lancamento);
      Conferencia conferencia = validador.Confere(lancamento, pedido.liberacoes);
      recusas = std::move(conferencia.recusas);
      if (recusas.empty()) {
        for (Apontamento& aviso : conferencia.avisos) {
          leitura.avisos.push_back({linha.numero, std::move(aviso)});
        }
        leitura.lidas.push_back(
            {linha.numero,
             {lancamento.dados, std::move(conferencia.complemento), std::move(lancamento.rateio),
              std::move(lancamento.quantidades)}});
      }
    }
    if (!recusas.empty()) {
      leitura.recusadas.push_back({linha.numero, Motivos(recusas)});
      leitura.recusas.insert(leitura.recusas.end(), recusas.begin(), recusas.end());
    }
  }
  leitura.digesto = "crc64:" + Hex(digesto);
  return leitura;
}

void PeriodoDasLinhas(const std::vector<LinhaLida>& lidas, CQXData* de, CQXData* ate) {
  for (const LinhaLida& l : lidas) {
    const CQXData data(l.linha.dados.DataLancamento);
    if (de->IsEmpty() || data.Value() < de->Value()) *de = data;
    if (data.Value() > ate->Value()) *ate = data;
  }
}

}  // namespace qx
