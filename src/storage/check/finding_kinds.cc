// The kinds of findings and their gravity. A kind is admitted only where the
// system's own writing leaves that state: a save appends the complement text,
// takes an updated entry's old amounts off the totals, writes the entry record,
// then its currency amount, its new totals and its split lines, in this order,
// and a save that fails takes them back in the reverse order; a removal takes
// the entry's amounts off the totals, writes its status and then zeroes its
// split lines from the first; a write that fails part way is cut back, and an
// append writes over a partial record left at a file's end; re-creating a
// month empties its entry, split and complement files and keeps CNLQ and
// CNLM; removing a month deletes CNLC, CNLG and CNLH in this order; nothing is
// ever moved. Saves and removals of a company run one at a time, so each one
// that stops leaves its traces on one entry; and their intent takes them back
// at the next operation or opening of the company, as the check already
// assumes. With the company's change log, what the entry files hold must be
// what the log last said of each position.
#include <algorithm>
#include <cstdlib>

#include "storage/check/finding.h"

namespace qx::check {
namespace {

constexpr Gravity D = Gravity::kDamage;
constexpr Gravity A = Gravity::kAdmitted;

constexpr FindingKind kKinds[] = {
    {"unreadable", D, "o arquivo não abre ou não se lê, ou o nome não é de um arquivo"},
    {"file-vanished", A,
     "um arquivo de mês que o QXCTLARQ.DAT lista como criado sumiu: excluído com o seu mês, "
     "apagado, ou a sua criação parou depois de listá-lo; as leituras e gravações do mês que "
     "precisam dele falham com 16055 até o mês ser criado de novo"},
    {"name-case", D, "dois arquivos cujos nomes só diferem em maiúsculas e minúsculas"},
    {"open-to-others", D,
     "a pasta, ou um arquivo dela, deixa outros usuários (além do dono e, numa pasta do "
     "escritório, do seu grupo) entrar, ler ou gravar: eles leriam os livros ou segurariam a "
     "marca das gravações; chmod -R go-rwx na pasta (o-rwx numa pasta do escritório)"},
    {"empty-file", A,
     "um arquivo de registros de 0 bytes: a sua criação parou antes do registro zero"},
    {"short-file", D, "um arquivo de registros menor que o seu registro zero"},
    {"partial-tail", A,
     "o arquivo acaba no meio de um registro: uma escrita parou no meio; as leituras param antes "
     "dele e a próxima inclusão escreve por cima"},
    {"zero-record", D, "o registro 0 (o byte 0 de um heap) não está como o sistema o escreve"},
    {"entry-status", D, "o byte de situação de um lançamento não é 0, 1 nem 2"},
    {"entry-day", D, "o byte do dia de um lançamento não é um dia do mês do arquivo"},
    {"entry-filler", D, "os quatro bytes de preenchimento de um lançamento não são zero"},
    {"complement-offset", D, "a posição do complemento de um lançamento fica fora do CNLH do mês"},
    {"complement-orphan", A,
     "bytes de complemento fora do texto de qualquer lançamento: textos substituídos, ou o texto "
     "de uma gravação que parou"},
    {"month-without-entries", A, "CNLG ou CNLH de um mês sem CNLC: uma exclusão de mês parou"},
    {"split-position", D, "a posição do rateio de um lançamento fica fora do CNLG do mês"},
    {"split-owner", D,
     "a primeira linha do rateio de um lançamento não leva o índice do lançamento"},
    {"split-shared", D, "uma linha de rateio pertence às cadeias de dois lançamentos"},
    {"split-not-cleared", D,
     "a posição do rateio de um lançamento excluído aponta a linha de outro lançamento"},
    {"split-uncleared", A,
     "as linhas de rateio de um lançamento excluído ainda não foram zeradas: uma exclusão parou "
     "depois da situação"},
    {"split-zeroed", A,
     "a primeira linha de rateio de um lançamento ativo está zerada: uma exclusão que limpa as "
     "linhas antes da situação parou"},
    {"split-orphan", A,
     "linhas de rateio fora da cadeia de qualquer lançamento ativo: uma gravação ou rateio parou "
     "antes de ligá-las, ou uma exclusão antes de limpá-las"},
    {"quantity-missing", A,
     "linhas de rateio além do fim do CNLQ: uma gravação parou antes da quantidade"},
    {"quantity-beyond", A, "registros do CNLQ além do fim do CNLG: o mês foi criado de novo"},
    {"currency-filler", D,
     "os quatro bytes de preenchimento de um registro de moeda estrangeira não são zero"},
    {"currency-missing", A,
     "um lançamento de situação 2 sem o seu registro no CNLM: uma gravação parou"},
    {"currency-beyond", A, "registros do CNLM além do fim do CNLC: o mês foi criado de novo"},
    {"difference-date", D, "um total de diferença não zero sem uma data válida"},
    {"difference-stale", D, "um total de diferença zero que ainda guarda filial ou usuário"},
    {"difference-branch", D,
     "um registro de diferença com filial embora os totais não se separem por filial"},
    {"difference-user", D,
     "um registro de diferença com usuário embora o agrupamento não tenha usuário"},
    {"difference-duplicate", D, "um segundo registro de uma chave, que nenhuma busca alcança"},
    {"difference-overflow", D,
     "os totais de uma chave, ou os valores de um só lado dos seus lançamentos, somam mais que o "
     "maior valor"},
    {"difference-total", D,
     "os totais guardados de uma chave diferem dos valores de um só lado dos lançamentos"},
    {"difference-unfinished", A,
     "aos totais de uma chave falta exatamente o valor de um lançamento ativo: uma gravação ou "
     "exclusão parou"},
    {"control-name", D, "um nome no QXCTLARQ.DAT não está como a criação controlada o escreve"},
    {"control-duplicate", D, "um nome listado duas vezes no QXCTLARQ.DAT"},
    {"layout-field", D,
     "um formato de importação que a sua gravação recusaria, ou um preenchimento não zero"},
    {"layout-temporary", A, "sobrou o CNFORIMP.TMP: uma exclusão de formato parou"},
    {"note-offset", D, "a posição do texto de uma nota não é o começo de um texto no CNNTEXCP.DAT"},
    {"note-text", D, "o texto de uma nota não tem o byte zero final ou é longo demais"},
    {"note-filler", D, "os bytes de preenchimento de um registro do índice de notas não são zero"},
    {"note-orphan", A,
     "textos de nota que nenhum registro do índice aponta: notas substituídas, ou uma escrita "
     "que parou"},
    {"intent-pending", A,
     "uma gravação ou exclusão parou no meio e deixou a sua intenção no XXMARCA7.dat; a próxima "
     "gravação, exclusão ou abertura da empresa a desfaz, e a conferência vê a pasta desfeita"},
    {"log-missing", D, "um lançamento ativo que o log de alterações não conhece"},
    {"log-unknown", A,
     "um lançamento excluído que o log não conhece: uma gravação desfeita, ou anterior ao log"},
    {"log-lost", D,
     "o log conhece o lançamento, mas o CNLC do mês acaba antes dele: lançamentos perdidos"},
    {"log-deleted", D, "um lançamento excluído sem o evento da exclusão no log"},
    {"log-altered", D,
     "um lançamento difere da última imagem que o log tem dele; os campos diferentes são "
     "nomeados"},
};

}  // namespace

std::span<const FindingKind> FindingKinds() { return kKinds; }

const FindingKind* FindKind(std::string_view name) {
  for (const FindingKind& kind : kKinds) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

void Findings::Add(std::string_view kind, const std::string& file, std::string reason) {
  Run(kind, file, Unit::kFile, 0, 0, std::move(reason));
}

void Findings::At(std::string_view kind, const std::string& file, Unit unit, uint64_t position,
                  std::string reason) {
  Run(kind, file, unit, position, position, std::move(reason));
}

void Findings::Run(std::string_view kind, const std::string& file, Unit unit, uint64_t first,
                   uint64_t last, std::string reason) {
  const FindingKind* known = FindKind(kind);
  if (known == nullptr) std::abort();  // a kind missing from the table is a programming error
  findings_.push_back({known, file, unit, first, last, std::move(reason)});
}

size_t Findings::Count(Gravity gravity) const {
  return static_cast<size_t>(
      std::count_if(findings_.begin(), findings_.end(),
                    [&](const Finding& f) { return f.kind->gravity == gravity; }));
}

}  // namespace qx::check
