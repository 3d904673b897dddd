// qxcheck: checks the record files of a company folder, read-only, and
// reports every inconsistency with its file, position and reason.
#include <optional>
#include <string>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "company_options.h"
#include "log_empresa.h"
#include "report.h"

namespace {

using qx::cli::Argumentos;
using qx::cli::FalhaLocal;
using qx::cli::Saida;

constexpr char kNotes[] =
    "Confere os arquivos da pasta contábil de uma empresa: tamanhos de registro e de\n"
    "arquivo, a situação e o dia dos lançamentos, as posições dos complementos, as\n"
    "cadeias de rateio, as quantidades e os valores em moeda estrangeira ao lado\n"
    "delas, as diferenças de débito e crédito contra os lançamentos, o arquivo de\n"
    "controle, os formatos de importação e as notas explicativas. Os arquivos são\n"
    "abertos só para leitura e compartilhados com quem grava: conferir uma pasta em\n"
    "uso é seguro.\n"
    "\n"
    "Com --empresa, os lançamentos de cada mês são comparados também com a última\n"
    "imagem que o log de alterações tem de cada posição: um lançamento perdido,\n"
    "acrescentado, alterado ou excluído sem o seu evento é dano, com os campos que\n"
    "diferem (--sem-log deixa essa comparação de lado, para lançamentos anteriores\n"
    "ao log). A comparação vale para uma pasta parada: numa pasta em uso, uma\n"
    "gravação no meio da leitura aparece como diferença. Uma operação que parou no\n"
    "meio é conferida como a sua recuperação deixará a pasta.\n"
    "\n"
    "Cada achado é um dano, ou um estado que o sistema admite (o que deixa uma\n"
    "gravação, exclusão ou recriação de mês interrompida, e textos guardados de\n"
    "propósito); --tipos lista todos. As diferenças se agrupam como diz a\n"
    "configuração da empresa: --empresa a lê do banco da empresa (e dá a pasta quando\n"
    "PASTA falta); sem ela, e no que as opções não dizem, vale o padrão das empresas:\n"
    "modo 0, sem separar por filial.\n"
    "\n"
    "Saída: 0 nenhum dano; 1 dano encontrado, ou a pasta ou a configuração da empresa\n"
    "não pôde ser lida; 2 erro de uso.\n";

void Check(const Argumentos& args, Saida& saida) {
  if (args.Marca("tipos")) {
    qx::check::ShowKinds(saida);
    return;
  }
  const std::string company = args.Valor("empresa").value_or("");
  std::string folder = args.Posicionais().empty() ? "" : args.Posicionais()[0];
  if (folder.empty() && company.empty()) throw qx::cli::ErroUso{"diga a PASTA (ou --empresa)"};
  qx::check::DifferenceOptions options;
  std::string error;
  if (!company.empty()) {
    if (!qx::check::ReadCompanyOptions(company, &options, &error)) {
      throw FalhaLocal("empresa " + company + ": " + error,
                       "veja as empresas da instalação com qxadmin empresa lista");
    }
    if (folder.empty()) folder = qx::check::CompanyAccountingFolder(company);
    if (folder.empty()) {
      throw FalhaLocal("a empresa " + company + " não tem pasta contábil",
                       "veja a pasta de cada empresa com qxadmin empresa lista");
    }
  }
  if (const auto mode = args.Inteiro("modo-diferenca", 0, 255)) {
    options.modo = static_cast<uint16_t>(*mode);
  }
  if (const auto perBranch = args.Inteiro("diferenca-por-filial", 0, 1)) {
    options.porFilial = *perBranch != 0;
  }
  std::optional<qx::check::LogDaEmpresa> log;
  if (!company.empty() && !args.Marca("sem-log")) {
    log.emplace();
    if (!qx::check::ReadCompanyLog(company, &*log, &error)) throw FalhaLocal(error);
  }
  qx::check::Report report;
  if (!qx::check::CheckFolder(folder, options, &report, &error, log ? &*log : nullptr)) {
    throw FalhaLocal(error);
  }
  qx::check::Show(report, saida);
  if (!report.Sound()) {
    throw FalhaLocal("dano encontrado em " + folder,
                     "veja os achados; qxcheck --tipos diz o que cada tipo quer dizer");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxcheck = {
      .nome = "qxcheck",
      .resumo = "confere os arquivos de registros da pasta de uma empresa, só lendo",
      .notas = kNotes,
      .globais = qx::cli::OpcoesSaida(),
      .comandos = {{"",
                    "[PASTA]",
                    "confere os arquivos de PASTA, ou da pasta contábil da empresa",
                    {{"empresa", "CODIGO", "a empresa cuja configuração (e pasta) usar", false, "",
                      "company"},
                     {"modo-diferenca", "N", "0 data e usuário, 1 data, 2 mês e usuário, 3 mês",
                      false, "", "difference-mode"},
                     {"diferenca-por-filial", "0|1", "os totais separados por filial", false, "0 1",
                      "difference-per-branch"},
                     {"sem-log", "", "não compara os lançamentos com o log de alterações",
                      false, "", "without-log"},
                     {"tipos", "", "lista os tipos de achado com a sua gravidade", false, "",
                      "kinds"}},
                    Check}},
  };
  return qx::cli::Executa(qxcheck, argc, argv);
}
