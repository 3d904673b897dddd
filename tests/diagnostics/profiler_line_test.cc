// The profiler's lines, file names and headers, its switches and process filter, and the
// call statistics, without files.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "diagnostics/profiler_files.h"
#include "diagnostics/profiler_record.h"
#include "diagnostics/profiler_statistics.h"
#include "diagnostics/profiler_switches.h"
#include "profiler_test_fixture.h"

namespace qx {
namespace {

ProfilerRecord Sample(IQXDF_Profiler* identity) {
  ProfilerRecord r;
  r.dataHora = SYSTEMTIME{2025, 3, 2, 4, 9, 5, 7, 31};
  r.identidade = identity;
  r.funcao = "CQXCN_Lancamento::GravaConferido";
  r.guid = "0123ABCD-4567-89EF-FEDC-BA9876543210";
  r.processo = "ostrel";
  r.usuarioLocal = "joao";
  r.nomes = {"MesAno", "IndLan", "cConferido", "", "Vazio"};
  r.valores = {"123", "45", "S", "sem nome", ""};
  r.ticksInicio = 1000;
  r.ticksFim = 1250;
  r.memoriaEntrada = 4096;
  r.memoriaSaida = 6144;
  return r;
}

constexpr PhysicalMemory kMachine{1000000, 8000000};

std::string Line(const ProfilerRecord& r, ProfilerRecordType type, uint32_t thread = 321) {
  return FormatProfilerLine(r, type, kMachine, thread);
}

TEST(ProfilerLine, EntryExitAndPeerCreationColumns) {
  TestIdentity identity("EMP1");
  ProfilerRecord r = Sample(&identity);
  const std::string common =
      "04/03/2025\t09:05:07.031\tostrel\tjoao\t" + r.funcao +
      "\t0123ABCD-4567-89EF-FEDC-BA9876543210\tEEMP1\tU007\tS00123456\tT00000321\t"
      "EMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t";
  // Pairs are written only when both name and value are given.
  const std::string pairs = "MesAno = 123\tIndLan = 45\tcConferido = S\t\n";
  EXPECT_EQ(Line(r, ProfilerRecordType::kEntrou),
            common + "ENTROU\t1000000\t8000000\t4096\t0\t0\t" + pairs);
  EXPECT_EQ(Line(r, ProfilerRecordType::kSaiu),
            common + "SAIU\t1000000\t8000000\t6144\t250\t2048\t" + pairs);
  EXPECT_EQ(Line(r, ProfilerRecordType::kCoCreate),
            common + "COCREATE\t1000000\t8000000\t" + pairs);
  // A clock or memory figure that went down gives 0, never a negative number.
  r.ticksFim = 900;
  r.memoriaSaida = 1024;
  EXPECT_NE(Line(r, ProfilerRecordType::kSaiu).find("SAIU\t1000000\t8000000\t1024\t0\t0\tMesAno"),
            std::string::npos);
}

TEST(ProfilerLine, ErrorColumnsAndMissingIdentity) {
  ProfilerRecord r = Sample(nullptr);
  r.nomes = {"VersaoTarvo", "VersaoSO", "Arquivo", "Linha", "Log", "Extra"};
  r.valores = {"0.1.0.0", "6.1.0", "QXCN_Lancamento", "77", "hr = x", "not written"};
  EXPECT_EQ(Line(r, ProfilerRecordType::kErro, 5),
            "04/03/2025\t09:05:07.031\tostrel\tjoao\tCQXCN_Lancamento::GravaConferido\t"
            "0123ABCD-4567-89EF-FEDC-BA9876543210\tE\tU000\tS00000000\tT00000005\t"
            "\t0\t0\t\t\t\t\t0\t0\t0\t\tERRO\t1000000\t8000000\t4096\t"
            "0.1.0.0\t6.1.0\tQXCN_Lancamento\t77\thr = x\t\n");
}

TEST(ProfilerLine, IdentityRecordOnlyWhenAcceptedFieldsBoundedAndNoLineBreaks) {
  TestIdentity identity("EMP1");
  identity.record().cControle = 'A';
  ProfilerRecord r = Sample(&identity);
  std::string line = Line(r, ProfilerRecordType::kEntrou);
  EXPECT_NE(line.find("EEMP1\tU007\tS00123456\tT00000321\t\t0\t0\t\t\t\t\t0\t0\t0\t\tENTROU"),
            std::string::npos)
      << line;
  // Fields filled to their last byte are read no further than the field.
  identity.record().cControle = 'B';
  std::memset(identity.record().szAplicativo, 'A', sizeof identity.record().szAplicativo);
  std::memset(identity.record().szFiller, 'F', sizeof identity.record().szFiller);
  // Line breaks never split a record.
  r.valores[0] = "linha 1\nlinha 2\r\n";
  r.funcao = "Frame\r\nName";
  line = Line(r, ProfilerRecordType::kEntrou);
  for (const std::string& part :
       {"\t" + std::string(48, 'A') + "\tCN\t", "\t" + std::string(22, 'F') + "\tENTROU\t",
        std::string("MesAno = linha 1linha 2\t"), std::string("\tFrameName\t")}) {
    EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;
  }
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(line.find('\n'), line.size() - 1);
}

TEST(ProfilerLine, FileNamesAndHeaders) {
  const SYSTEMTIME march{2025, 3, 0, 15, 0, 0, 0, 0}, early{1200, 0, 0, 1, 0, 0, 0, 0},
      late{9999, 250, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(ErrorFilePath("/data/EMP1/", true, march),
            "/data/EMP1/QXProfilerErros_Base_202503.log");
  EXPECT_EQ(ErrorFilePath("/inst", false, march), "/inst/QXProfilerErros_Pgms_202503.log");
  EXPECT_EQ(ErrorFilePath("/d/", true, early), "/d/QXProfilerErros_Base_184800.log");
  EXPECT_EQ(ErrorFilePath("/d/", false, late), "/d/QXProfilerErros_Pgms_471799.log");
  EXPECT_EQ(ProfilerFilePath("/inst/"), "/inst/QXProfiler.log");

  const std::string common =
      "Data\tHora\tProcesso\tUsuarioLocal\tClasseFuncao\tGuid\tEmpresa\tUsuario\tSessao\t"
      "ThreadID\tEmpresa\tUsuario\tNumeroSessao\tUsuarioDominio\tAplicativo\tModuleName\t"
      "ArquivoFonte\tLinhaFonte\tWTS\tFiller\tFiller\tTipo\tMemoriaDisponivel\tMemoriaTotal\t"
      "MemoriaComponente\t";
  const std::string parameters =
      "\tParameter1\tParameter2\tParameter3\tParameter4\tParameter5\tParameter6\tParameter7\t"
      "Parameter8\tParameter9\n";
  EXPECT_EQ(ProfilerFileHeader(), common + "Duracao\tDeltaMemoria" + parameters);
  EXPECT_EQ(ErrorFileHeader(), common + "VersaoTarvo\tVersaoSO\tArquivo\tLinha\tLog" + parameters);
}

TEST(ProfilerSwitches, OnOffRuleAndProcessFilter) {
  // Entrada, Saida, CoCreateInstance, Performance, Memory: measuring alone
  // writes nothing, and switches peer-creation lines off unless calls are written.
  const std::pair<std::string, bool> cases[] = {{"", false},   {"E", true},   {"S", true},
                                                {"C", true},   {"P", false},  {"M", false},
                                                {"CP", false}, {"SCM", true}, {"EPM", true}};
  for (const auto& [flags, on] : cases) {
    const std::string& letters = flags;
    auto has = [&letters](char flag) { return letters.find(flag) != std::string::npos; };
    ProfilerConfig c;
    c.entrada = has('E');
    c.saida = has('S');
    c.coCreateInstance = has('C');
    c.performance = has('P');
    c.memory = has('M');
    EXPECT_EQ(ProfilerSwitchedOn(c), on) << flags;
  }
  // Processos, the process's name, whether it passes: words match as substrings, without
  // case and without a Windows ".exe"; separators alone, or nothing, let no process pass.
  const std::tuple<std::string, std::string, bool> filters[] = {
      {"qxfolha;TODOS", "anything", true},
      {"QXFOLHA, OSTREL", "ostrel.exe", true},
      {"a b\tstrel", "ostrel.exe", true},
      {"qxfolha;qxcaixa", "ostrel.exe", false},
      {"qxfolha;OSTREL.EXE", "ostrel", true},
      {"ostrel.exe", "Ostrel", true},
      {"ostrel", "ostrel", true},
      {"ostrel.exe", "ostrelx", false},
      {" ;, ", "ostrel.exe", false},
      {"", "ostrel", false}};
  for (const auto& [processos, name, passes] : filters) {
    EXPECT_EQ(ProcessFilterPasses(processos, name), passes) << processos << " / " << name;
  }
}

TEST(ProfilerStatistics, FrameNamesRecordAndMerge) {
  const std::pair<const char*, std::pair<std::string, std::string>> names[] = {
      {"T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::Inicializa_Padrao",
       {"T_QXUnknown", "Inicializa_Padrao"}},
      {"CQXCN_Lancamento::GetCredito", {"CQXCN_Lancamento", "GetCredito"}},
      {"A::B::C", {"A", "B"}},
      {"QXCoCreateInstance", {"QXCoCreateInstance", ""}},
      {"", {"", ""}}};
  for (const auto& [frame, parts] : names) EXPECT_EQ(SplitFrameName(frame), parts) << frame;

  auto leaves = [](const CallStatistics& stats) {
    std::vector<std::pair<CallKey, CallFigures>> all;
    stats.ForEach([&](const CallKey& k, const CallFigures& f) { all.emplace_back(k, f); });
    return all;
  };
  TestIdentity a("EMP1", 3);
  CallStatistics first;
  EXPECT_TRUE(first.Empty());
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 25'000);          // 2.5 ms -> 2
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 100, 100 + 90'000);  // 9 ms
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 50'000, 10'000);     // clock set back -> 0
  first.RecordCall(nullptr, "CQXCN_Lancamento::Grava", 0, 10'000);
  auto all = leaves(first);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].first, (CallKey{"", "", "CQXCN_Lancamento", "Grava", 0}));
  EXPECT_EQ(all[1].first, (CallKey{"EMP1", "QXCONTAB", "CQXCN_Lancamento", "Grava", 3}));
  using Figures = std::tuple<int64_t, int64_t, int64_t, std::optional<int64_t>>;
  auto figures = [](const CallFigures& f) {
    return Figures{f.count, f.totalMs, f.longestMs, f.shortestMs};
  };
  EXPECT_EQ(figures(all[1].second), (Figures{3, 11, 9, 0}));

  // Two objects with the same keys merge into one leaf whose count is the sum.
  CallStatistics second;
  second.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 200'000);  // 20 ms
  TestIdentity b("EMP2", 3);
  second.RecordCall(&b, "CQXCN_Lancamento::Grava", 0, 10'000);
  CallStatistics process;
  process.Merge(first);
  process.Merge(second);
  process.Merge(process);  // merging a map into itself changes nothing
  all = leaves(process);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(figures(all[1].second), (Figures{4, 31, 20, 0}));
  EXPECT_EQ(all[2].first.empresa, "EMP2");
  EXPECT_EQ(all[2].second.shortestMs, 1);

  // Figures without calls have no shortest call, and merging them changes none.
  CallFigures single, empty;
  single.Merge(empty);
  EXPECT_FALSE(single.shortestMs.has_value());
  single.Add(5);
  single.Merge(empty);
  EXPECT_EQ(figures(single), (Figures{1, 5, 5, 5}));
}

}  // namespace
}  // namespace qx
