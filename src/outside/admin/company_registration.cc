#include "outside/admin/company_registration.h"

#include <algorithm>
#include <cctype>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "values/registro_pj.h"

namespace qx {
namespace {

bool LetrasEDigitos(const std::string& texto) {
  return std::all_of(texto.begin(), texto.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

// "UF/AAAA/NNNNNN", as the council writes the number of its certificate.
bool CertidaoValida(const std::string& texto) {
  const size_t barra = texto.find('/');
  const size_t outra = texto.find('/', barra + 1);
  return barra == 2 && outra == 7 && CodigoUf(texto.substr(0, 2)) != 0 &&
         SoDigitos(texto.substr(3, 4)) && SoDigitos(texto.substr(8));
}

// The refusal of a field: "CAMPO VALOR: what it expects".
std::string Recusa(const std::string& campo, const std::string& valor,
                   const std::string& esperado) {
  return campo + " '" + valor + "': " + esperado;
}

void NoParameters(SqlStatement&) {}

}  // namespace

std::string ConfereCadastroPJ(const CadastroPJ& c) {
  if (!c.cnpj.empty() && !CnpjValido(c.cnpj)) {
    return Recusa("CNPJ", c.cnpj,
                  "14 d\xEDgitos com os dois d\xEDgitos verificadores certos "
                  "(como 11.222.333/0001-81)");
  }
  if (!c.uf.empty() && CodigoUf(c.uf) == 0) {
    return Recusa("UF", c.uf, "a sigla de um estado em mai\xFAsculas (SP, RJ, MG, ...)");
  }
  if (!c.municipio.empty() && (!SoDigitos(c.municipio) || c.municipio.size() != 7)) {
    return Recusa("munic\xEDpio", c.municipio,
                  "o c\xF3"
                  "digo IBGE do munic\xEDpio, 7 d\xEDgitos");
  }
  if (!c.municipio.empty() && !c.uf.empty() && !MunicipioDaUf(c.municipio, c.uf)) {
    return Recusa("munic\xEDpio", c.municipio,
                  "um c\xF3"
                  "digo IBGE de " +
                      c.uf +
                      ", que come\xE7"
                      "a por " +
                      std::to_string(CodigoUf(c.uf)));
  }
  if (!LetrasEDigitos(c.inscricaoEstadual)) {
    return Recusa("inscri\xE7\xE3o estadual", c.inscricaoEstadual,
                  "s\xF3 letras e d\xEDgitos, sem pontos, barras nem tra\xE7os");
  }
  if (!LetrasEDigitos(c.inscricaoMunicipal)) {
    return Recusa("inscri\xE7\xE3o municipal", c.inscricaoMunicipal,
                  "s\xF3 letras e d\xEDgitos, sem pontos, barras nem tra\xE7os");
  }
  if (!c.nire.empty() && (c.nire.size() != 11 || !SoDigitos(c.nire))) {
    return Recusa("NIRE", c.nire, "os 11 d\xEDgitos do registro na junta comercial");
  }
  if (c.mesInicioExercicio < 1 || c.mesInicioExercicio > 12) {
    return Recusa(
        "in\xED"
        "cio do exerc\xED"
        "cio",
        std::to_string(c.mesInicioExercicio),
        "o m\xEAs em que o exerc\xED"
        "cio social come\xE7"
        "a, de 1 a 12");
  }
  return {};
}

std::string ConfereSignatario(const SignatarioCadastro& s) {
  const bool contador = s.qualificacao == kQualificacaoContador;
  if (s.nome.empty()) return Recusa("nome", s.nome, "o nome do signat\xE1rio");
  if (QualificacaoAssinante(s.qualificacao).empty()) {
    return Recusa("qualifica\xE7\xE3o", s.qualificacao,
                  "um c\xF3"
                  "digo da tabela de qualifica\xE7\xE3o do assinante "
                  "(900 contador, 203 diretor, 205 administrador, 801 empres\xE1rio, ...)");
  }
  if (s.qualificacao == kQualificacaoPessoaJuridica ? !CnpjValido(s.documento)
                                                    : !CpfValido(s.documento)) {
    return Recusa(s.qualificacao == kQualificacaoPessoaJuridica ? "CNPJ" : "CPF", s.documento,
                  s.qualificacao == kQualificacaoPessoaJuridica
                      ? "o CNPJ da empresa, 14 d\xEDgitos com d\xEDgitos verificadores certos"
                      : "11 d\xEDgitos com os dois d\xEDgitos verificadores certos "
                        "(como 123.456.789-09)");
  }
  if (contador && (s.crc.empty() || s.ufCrc.empty() || s.email.empty() || s.telefone.empty())) {
    return Recusa("CRC", s.crc,
                  "o contador (900) precisa do n\xFAmero no CRC, da UF do CRC, do e-mail "
                  "e do telefone");
  }
  if (!s.ufCrc.empty() && CodigoUf(s.ufCrc) == 0) {
    return Recusa("UF do CRC", s.ufCrc, "a sigla do estado do conselho regional (SP, RJ, ...)");
  }
  if (!s.certidaoCrc.empty() && !CertidaoValida(s.certidaoCrc)) {
    return Recusa("certid\xE3o do CRC", s.certidaoCrc,
                  "o n\xFAmero da certid\xE3o de regularidade como UF/ANO/N\xDAMERO "
                  "(SP/2026/001234)");
  }
  if (!s.email.empty() && (s.email.find('@') == std::string::npos || s.email.size() > 60)) {
    return Recusa("e-mail", s.email, "um endere\xE7o com @, at\xE9 60 caracteres");
  }
  if (!s.telefone.empty() && (!SoDigitos(s.telefone) || s.telefone.size() > 14)) {
    return Recusa("telefone", s.telefone, "at\xE9 14 d\xEDgitos, com o DDD, sem sinais");
  }
  if (contador && s.responsavelLegal) {
    return Recusa("respons\xE1vel legal", "sim",
                  "o contador (900) n\xE3o pode ser o respons\xE1vel legal; indique outro "
                  "signat\xE1rio, ou o mesmo CPF com outra qualifica\xE7\xE3o (309 procurador)");
  }
  return {};
}

HRESULT LeCadastroPJ(SuiteDatabase& db, CadastroPJ* c) {
  SqlStatement row(db,
                   "SELECT razao_social, cnpj, uf, municipio, nome_municipio, "
                   "inscricao_estadual, inscricao_municipal, nire, data_arquivamento, "
                   "data_conversao, mes_inicio_exercicio, grande_porte FROM cadastro_pj "
                   "WHERE id = 1");
  const HRESULT hr = row.StepOne();
  if (hr != S_OK) return FAILED(hr) ? hr : E_QXDF_REGISTRO_NAO_ENCONTRADO;
  *c = CadastroPJ{row.Text(0),
                  row.Text(1),
                  row.Text(2),
                  row.Text(3),
                  row.Text(4),
                  row.Text(5),
                  row.Text(6),
                  row.Text(7),
                  static_cast<uint32_t>(row.Int(8)),
                  static_cast<uint32_t>(row.Int(9)),
                  static_cast<int>(row.Int(10)),
                  row.Int(11) != 0};
  return S_OK;
}

HRESULT GravaCadastroPJ(SuiteDatabase& db, const CadastroPJ& c) {
  if (const std::string recusa = ConfereCadastroPJ(c); !recusa.empty()) {
    return db.Fail(E_INVALIDARG, recusa);
  }
  return db.Write([&] {
    SqlStatement update(db,
                        "UPDATE cadastro_pj SET razao_social = ?, cnpj = ?, uf = ?, "
                        "municipio = ?, nome_municipio = ?, inscricao_estadual = ?, "
                        "inscricao_municipal = ?, nire = ?, data_arquivamento = ?, "
                        "data_conversao = ?, mes_inicio_exercicio = ?, grande_porte = ? "
                        "WHERE id = 1");
    update.BindText(1, c.razaoSocial).BindText(2, c.cnpj).BindText(3, c.uf);
    update.BindText(4, c.municipio).BindText(5, c.nomeMunicipio);
    update.BindText(6, c.inscricaoEstadual).BindText(7, c.inscricaoMunicipal);
    update.BindText(8, c.nire).Bind(9, int64_t{c.dataArquivamento});
    update.Bind(10, int64_t{c.dataConversao}).Bind(11, int64_t{c.mesInicioExercicio});
    return update.Bind(12, int64_t{c.grandePorte}).Run();
  });
}

HRESULT AdicionaSignatario(SuiteDatabase& db, const SignatarioCadastro& s) {
  if (const std::string recusa = ConfereSignatario(s); !recusa.empty()) {
    return db.Fail(E_INVALIDARG, recusa);
  }
  return db.Write([&] {
    if (s.responsavelLegal) {
      SqlStatement outro(db, "SELECT nome FROM signatarios WHERE responsavel_legal = 1");
      const HRESULT hr = outro.StepOne();
      if (FAILED(hr)) return hr;
      if (hr == S_OK) {
        return db.Fail(E_INVALIDARG,
                       Recusa("respons\xE1vel legal", "sim",
                              "s\xF3 um signat\xE1rio responde pela empresa, e j\xE1 \xE9 " +
                                  outro.Text(0) + "; exclua-o e inclua-o sem --responsavel"));
      }
    }
    SqlStatement insert(db,
                        "INSERT INTO signatarios (documento, qualificacao, nome, crc, uf_crc, "
                        "certidao_crc, validade_certidao, email, telefone, responsavel_legal) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.BindText(1, s.documento).BindText(2, s.qualificacao).BindText(3, s.nome);
    insert.BindText(4, s.crc).BindText(5, s.ufCrc).BindText(6, s.certidaoCrc);
    insert.Bind(7, int64_t{s.validadeCertidao}).BindText(8, s.email).BindText(9, s.telefone);
    const HRESULT hr = insert.Bind(10, int64_t{s.responsavelLegal}).Run();
    if (hr == E_QXDF_JA_EXISTE) {
      return db.Fail(hr, "O signat\xE1rio " + s.documento + " com a qualifica\xE7\xE3o " +
                             s.qualificacao + " j\xE1 existe.");
    }
    return hr;
  });
}

HRESULT RemoveSignatario(SuiteDatabase& db, const std::string& documento,
                         const std::string& qualificacao) {
  return db.Write([&] {
    SqlStatement existe(db, "SELECT 1 FROM signatarios WHERE documento = ? AND qualificacao = ?");
    HRESULT hr = existe.BindText(1, documento).BindText(2, qualificacao).StepOne();
    if (hr == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO, "N\xE3o h\xE1 signat\xE1rio " + documento +
                                                         " com a qualifica\xE7\xE3o " +
                                                         qualificacao + ".");
    }
    if (FAILED(hr)) return hr;
    SqlStatement remove(db, "DELETE FROM signatarios WHERE documento = ? AND qualificacao = ?");
    return remove.BindText(1, documento).BindText(2, qualificacao).Run();
  });
}

HRESULT ListaSignatarios(SuiteDatabase& db, std::vector<SignatarioCadastro>* signatarios) {
  signatarios->clear();
  return ForEachRow(
      db,
      "SELECT nome, documento, qualificacao, crc, uf_crc, certidao_crc, "
      "validade_certidao, email, telefone, responsavel_legal FROM signatarios "
      "ORDER BY qualificacao, documento",
      NoParameters, [&](const SqlStatement& row) {
        signatarios->push_back({row.Text(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4),
                                row.Text(5), static_cast<uint32_t>(row.Int(6)), row.Text(7),
                                row.Text(8), row.Int(9) != 0});
      });
}

HRESULT DefineAglutinacao(SuiteDatabase& db, const AglutinacaoCadastro& a) {
  if (a.conta < 1)
    return db.Fail(E_INVALIDARG, Recusa("conta", std::to_string(a.conta), "maior que 0"));
  if (a.codigo.find('|') != std::string::npos) {
    return db.Fail(E_INVALIDARG, Recusa("c\xF3"
                                        "digo",
                                        a.codigo, "sem o caractere |"));
  }
  return db.Write([&] {
    SqlStatement conta(db, "SELECT 1 FROM contas WHERE plano = 'C' AND conta = ?");
    const HRESULT existe = conta.Bind(1, a.conta).StepOne();
    if (existe == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO, Recusa("conta", std::to_string(a.conta),
                                                            "uma conta do plano cont\xE1"
                                                            "bil"));
    }
    if (FAILED(existe)) return existe;
    if (a.codigo.empty()) {
      SqlStatement remove(db, "DELETE FROM contas_aglutinacao WHERE conta = ?");
      return remove.Bind(1, a.conta).Run();
    }
    SqlStatement upsert(
        db,
        "INSERT INTO contas_aglutinacao (conta, codigo, descricao) VALUES (?, ?, ?) "
        "ON CONFLICT (conta) DO UPDATE SET codigo = excluded.codigo, "
        "descricao = excluded.descricao");
    return upsert.Bind(1, a.conta).BindText(2, a.codigo).BindText(3, a.descricao).Run();
  });
}

HRESULT ListaAglutinacoes(SuiteDatabase& db, std::vector<AglutinacaoCadastro>* aglutinacoes) {
  aglutinacoes->clear();
  return ForEachRow(
      db, "SELECT conta, codigo, descricao FROM contas_aglutinacao ORDER BY conta", NoParameters,
      [&](const SqlStatement& row) {
        aglutinacoes->push_back({static_cast<int32_t>(row.Int(0)), row.Text(1), row.Text(2)});
      });
}

}  // namespace qx
