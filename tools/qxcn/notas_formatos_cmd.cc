// notas and formatos: explanatory notes and import layouts.
#include <cstring>
#include <vector>

#include "comandos.h"
#include "contract/profiler_identity.h"
#include "platform/bstr.h"
#include "platform/codepage.h"
#include "reports/importacao/formato.h"
#include "reports/leitura.h"

namespace qxcn {
namespace {

// --- notas ------------------------------------------------------------------

struct Nota {
  uint16_t mes;
  int32_t chave;
  int32_t posicao = 0;  // in the note index; 0 when the item has no note
};

Nota ProcuraNota(const Argumentos& a, Servico& servico) {
  const CQXMesAno mes = a.MesAnoObrigatorio("mes");
  Nota nota{static_cast<uint16_t>(mes.Value()),
            static_cast<int32_t>(a.InteiroObrigatorio("chave", INT32_MIN, INT32_MAX))};
  nota.posicao = qx::PosicaoDaNota(servico, mes, nota.chave);
  return nota;
}

// The note's row; an item without a note is a refusal, as `test` refuses.
void MostraNota(Saida& saida, const Nota& nota, const std::string& texto) {
  if (nota.posicao == 0) {
    throw FalhaLocal("o item " + std::to_string(nota.chave) + " não tem nota explicativa",
                     "grave uma com qxcn notas grava");
  }
  Tabela tabela({"chave", "posicao", "texto"});
  tabela.Linha({int64_t{nota.chave}, int64_t{nota.posicao}, Texto{texto}});
  saida.Mostra("nota", "", tabela);
}

std::string TextoDaNota(Servico& servico, const Nota& nota) {
  return nota.posicao == 0 ? "" : qx::TextoDaNota(servico, nota.posicao);
}

void NotaExiste(const Argumentos& a, Servico& servico, Saida& saida) {
  MostraNota(saida, ProcuraNota(a, servico), "");
}

void NotaLe(const Argumentos& a, Servico& servico, Saida& saida) {
  const Nota nota = ProcuraNota(a, servico);
  MostraNota(saida, nota, TextoDaNota(servico, nota));
}

void NotaGrava(const Argumentos& a, Servico& servico, Saida& saida) {
  Nota nota = ProcuraNota(a, servico);
  const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(a.Obrigatorio("texto"))));
  Verifica(servico->GravaNotaExplicativa(nota.mes, nota.chave, nota.posicao, bstr.get()),
           "GravaNotaExplicativa");
  nota = ProcuraNota(a, servico);
  if (nota.posicao == 0) {
    saida.Aviso("Nota apagada.");
    return;
  }
  MostraNota(saida, nota, TextoDaNota(servico, nota));
}

// --- formatos ---------------------------------------------------------------

// The built-in default layout as a stored one.
REGFORMATOIMPORT FormatoPadrao();

// Layouts with their positions from `primeiro`, and the fields their letters
// name; with `padrao`, the built-in default after them, without position.
void MostraFormatos(Saida& saida, std::vector<REGFORMATOIMPORT> formatos, int primeiro,
                    bool padrao = false) {
  Tabela tabela({"pos", "nome", "contabil", "gerencial", "delimitador", "campos"});
  if (padrao) formatos.push_back(FormatoPadrao());
  for (size_t i = 0; i < formatos.size(); ++i) {
    const REGFORMATOIMPORT& f = formatos[i];
    const qx::Layout layout = qx::LayoutDoRegistro(f);
    const bool embutido = padrao && i + 1 == formatos.size();
    tabela.Linha({embutido ? Celula() : Celula(int64_t(primeiro + static_cast<int>(i))),
                  Texto{qx::FieldText(f.cNomeFormatoImportacao)}, layout.contabil,
                  layout.gerencial, std::string(1, f.cDelimitador), qx::DescreveCampos(layout)});
  }
  saida.Mostra("formatos", "", tabela);
  if (padrao) {
    saida.Aviso(std::string("A empresa não tem um formato ") + qx::kNomeLayoutPadrao +
                "; o último, sem posição, é o embutido: o que qxcn importa usa sem --formato.");
  }
}

void CopiaCampo(const std::string& texto, char* campo, size_t tamanho, const char* nome) {
  const std::string bytes = qx::Utf8ToCp1252(texto);
  if (bytes.size() > tamanho) {
    throw ErroUso{std::string(nome) + ": no máximo " + std::to_string(tamanho) + " caracteres"};
  }
  std::memset(campo, 0, tamanho);
  std::memcpy(campo, bytes.data(), bytes.size());
}

// The built-in default layout as a stored one.
REGFORMATOIMPORT FormatoPadrao() {
  REGFORMATOIMPORT formato{};
  CopiaCampo(qx::kNomeLayoutPadrao, formato.cNomeFormatoImportacao,
             sizeof formato.cNomeFormatoImportacao, "NOME");
  CopiaCampo(qx::kLayoutPadrao.contabil, formato.cSequenciaContabil, sizeof formato.cSequenciaContabil,
             "--contabil");
  CopiaCampo(qx::kLayoutPadrao.gerencial, formato.cSequenciaGerencial,
             sizeof formato.cSequenciaGerencial, "--gerencial");
  formato.cDelimitador = qx::kLayoutPadrao.delimitador;
  return formato;
}

void FormatosLista(const Argumentos&, Servico& servico, Saida& saida) {
  uint16_t quantidade = 0;
  Verifica(servico->GetQuantidadeFormatosImportacao(&quantidade),
           "GetQuantidadeFormatosImportacao");
  std::vector<REGFORMATOIMPORT> formatos(quantidade);
  if (quantidade > 0) {
    Verifica(servico->GetFormatosImportacao(quantidade, formatos.data()), "GetFormatosImportacao");
  }
  MostraFormatos(saida, formatos, 1, qx::PosicaoDoLayout(servico, qx::kNomeLayoutPadrao) == 0);
}

// The layout of that name and its position; a name without one is a refusal.
std::pair<REGFORMATOIMPORT, uint16_t> LeFormato(Servico& servico, const std::string& nome) {
  const uint16_t posicao = qx::PosicaoDoLayout(servico, nome);
  if (posicao == 0) {
    throw FalhaLocal("formato não encontrado: " + nome, "veja os formatos com qxcn formatos lista");
  }
  REGFORMATOIMPORT formato{};
  Verifica(servico->LeFormatoImportacao(posicao, &formato), "LeFormatoImportacao");
  return {formato, posicao};
}

void FormatosMostra(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::string& nome = a.Posicionais()[0];
  if (nome == qx::kNomeLayoutPadrao && qx::PosicaoDoLayout(servico, nome) == 0) {
    MostraFormatos(saida, {}, 0, true);
    return;
  }
  const auto [formato, posicao] = LeFormato(servico, nome);
  MostraFormatos(saida, {formato}, posicao);
}

void FormatosExclui(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::string& nome = a.Posicionais()[0];
  const auto [formato, posicao] = LeFormato(servico, nome);
  const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(nome)));
  Verifica(servico->ExcluiFormatoImportacao(bstr.get()), "ExcluiFormatoImportacao");
  saida.Aviso("Formato excluído:");
  MostraFormatos(saida, {formato}, posicao);
}

void FormatosGrava(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::string& nome = a.Posicionais()[0];
  const uint16_t posicao = qx::PosicaoDoLayout(servico, nome);
  REGFORMATOIMPORT formato{};
  CopiaCampo(nome, formato.cNomeFormatoImportacao, sizeof formato.cNomeFormatoImportacao, "NOME");
  CopiaCampo(a.Valor("contabil").value_or(""), formato.cSequenciaContabil,
             sizeof formato.cSequenciaContabil, "--contabil");
  CopiaCampo(a.Valor("gerencial").value_or(""), formato.cSequenciaGerencial,
             sizeof formato.cSequenciaGerencial, "--gerencial");
  const std::string delimitador = a.Valor("delimitador").value_or(",");
  if (delimitador.size() != 1) throw ErroUso{"--delimitador: um caractere de , : ; |"};
  formato.cDelimitador = delimitador[0];
  uint16_t consistencia = 0;
  const HRESULT hr = servico->GravaFormatoImportacao(posicao, formato, &consistencia);
  if (hr != S_OK) {
    static const char* const kMotivos[] = {"", "o nome está vazio", "falta a sequência contábil",
                                           "falta a sequência gerencial",
                                           "o delimitador não é , : ; ou |"};
    if (FAILED(hr)) Verifica(hr, "GravaFormatoImportacao");
    throw FalhaLocal(std::string("formato recusado: ") +
                     (consistencia < 5 ? kMotivos[consistencia] : "inconsistente"));
  }
  MostraFormatos(saida, {formato}, posicao == 0 ? qx::PosicaoDoLayout(servico, nome) : posicao);
}

}  // namespace

std::vector<Comando> ComandosNotasFormatos() {
  const Opcao mes = OpcaoMes("o mês do item");
  const Opcao chave{"chave", "N", "a chave do item"};
  return {
      {"notas existe",
       "",
       "diz se um item tem nota explicativa (saída 1 se não tem)",
       {mes, chave},
       ComServico(NotaExiste)},
      {"notas le", "", "mostra a nota explicativa de um item", {mes, chave}, ComServico(NotaLe)},
      {"notas grava",
       "",
       "grava a nota explicativa de um item",
       {mes, chave, {"texto", "TEXTO", "o texto da nota (vazio apaga a nota)"}},
       ComServico(NotaGrava)},
      {"formatos lista", "", "os formatos de importação da empresa", {}, ComServico(FormatosLista)},
      {"formatos mostra", "NOME", "um formato de importação", {}, ComServico(FormatosMostra)},
      {"formatos exclui",
       "NOME",
       "exclui um formato de importação",
       {},
       ComServico(FormatosExclui)},
      {"formatos grava",
       "NOME",
       "grava um formato de importação (veja as letras no README)",
       {{"contabil", "LETRAS", "a sequência contábil, como CDEFGH"},
        {"gerencial", "LETRAS", "a sequência gerencial, como JK"},
        {"delimitador", "C", "o delimitador: , : ; ou |", false, ", : ; |"}},
       ComServico(FormatosGrava)},
  };
}

}  // namespace qxcn
