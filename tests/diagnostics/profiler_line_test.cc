#include <gtest/gtest.h>

#include <cstring>

#include "diagnostics/profiler_files.h"
#include "diagnostics/profiler_record.h"
#include "profiler_test_identity.h"

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

constexpr char kIdentityColumns[] =
    "EEMP1\tU007\tS00123456\tT00000321\t"
    "EMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t";

TEST(ProfilerLine, EntryAndExitColumns) {
  TestIdentity identity("EMP1");
  ProfilerRecord r = Sample(&identity);
  std::string common = std::string("04/03/2025\t09:05:07.031\tostrel\tjoao\t") + r.funcao +
                       "\t0123ABCD-4567-89EF-FEDC-BA9876543210\t" + kIdentityColumns;
  // Pairs are written only when both name and value are given.
  std::string pairs = "MesAno = 123\tIndLan = 45\tcConferido = S\t\n";
  EXPECT_EQ(FormatProfilerLine(r, ProfilerRecordType::kEntrou, kMachine, 321),
            common + "ENTROU\t1000000\t8000000\t4096\t0\t0\t" + pairs);
  EXPECT_EQ(FormatProfilerLine(r, ProfilerRecordType::kSaiu, kMachine, 321),
            common + "SAIU\t1000000\t8000000\t6144\t250\t2048\t" + pairs);
  EXPECT_EQ(FormatProfilerLine(r, ProfilerRecordType::kCoCreate, kMachine, 321),
            common + "COCREATE\t1000000\t8000000\t" + pairs);

  // A clock or memory figure that went down gives 0, never a negative number.
  r.ticksFim = 900;
  r.memoriaSaida = 1024;
  EXPECT_NE(FormatProfilerLine(r, ProfilerRecordType::kSaiu, kMachine, 321)
                .find("SAIU\t1000000\t8000000\t1024\t0\t0\tMesAno"),
            std::string::npos);
}

TEST(ProfilerLine, ErrorColumnsAndMissingIdentity) {
  ProfilerRecord r = Sample(nullptr);
  r.nomes = {"VersaoTarvo", "VersaoSO", "Arquivo", "Linha", "Log", "Extra"};
  r.valores = {"0.1.0.0", "6.1.0", "QXCN_Lancamento", "77", "hr = x", "not written"};
  EXPECT_EQ(FormatProfilerLine(r, ProfilerRecordType::kErro, kMachine, 5),
            "04/03/2025\t09:05:07.031\tostrel\tjoao\tCQXCN_Lancamento::GravaConferido\t"
            "0123ABCD-4567-89EF-FEDC-BA9876543210\tE\tU000\tS00000000\tT00000005\t"
            "\t0\t0\t\t\t\t\t0\t0\t0\t\tERRO\t1000000\t8000000\t4096\t"
            "0.1.0.0\t6.1.0\tQXCN_Lancamento\t77\thr = x\t\n");
}

TEST(ProfilerLine, IdentityRecordOnlyWhenAccepted) {
  TestIdentity identity("EMP1");
  identity.record().cControle = 'A';
  ProfilerRecord r = Sample(&identity);
  std::string line = FormatProfilerLine(r, ProfilerRecordType::kEntrou, kMachine, 321);
  EXPECT_NE(line.find("EEMP1\tU007\tS00123456\tT00000321\t\t0\t0\t\t\t\t\t0\t0\t0\t\tENTROU"),
            std::string::npos)
      << line;

  // Fields filled to their last byte are read no further than the field.
  identity.record().cControle = 'B';
  std::memset(identity.record().szAplicativo, 'A', sizeof identity.record().szAplicativo);
  std::memset(identity.record().szFiller, 'F', sizeof identity.record().szFiller);
  line = FormatProfilerLine(r, ProfilerRecordType::kEntrou, kMachine, 321);
  EXPECT_NE(line.find("\t" + std::string(48, 'A') + "\tCN\t"), std::string::npos) << line;
  EXPECT_NE(line.find("\t" + std::string(22, 'F') + "\tENTROU\t"), std::string::npos) << line;
}

TEST(ProfilerLine, LineBreaksNeverSplitARecord) {
  TestIdentity identity("EMP1");
  ProfilerRecord r = Sample(&identity);
  r.valores[0] = "linha 1\nlinha 2\r\n";
  r.funcao = "Frame\r\nName";
  std::string line = FormatProfilerLine(r, ProfilerRecordType::kEntrou, kMachine, 321);
  EXPECT_NE(line.find("MesAno = linha 1linha 2\t"), std::string::npos) << line;
  EXPECT_NE(line.find("\tFrameName\t"), std::string::npos) << line;
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(line.find('\n'), line.size() - 1);
}

TEST(ProfilerLine, FileNamesAndHeaders) {
  SYSTEMTIME march{2025, 3, 0, 15, 0, 0, 0, 0};
  EXPECT_EQ(ErrorFilePath("/data/EMP1/", true, march),
            "/data/EMP1/QXProfilerErros_Base_202503.log");
  EXPECT_EQ(ErrorFilePath("/inst", false, march), "/inst/QXProfilerErros_Pgms_202503.log");
  SYSTEMTIME early{1200, 0, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(ErrorFilePath("/d/", true, early), "/d/QXProfilerErros_Base_184800.log");
  SYSTEMTIME late{9999, 250, 0, 1, 0, 0, 0, 0};
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

}  // namespace
}  // namespace qx
