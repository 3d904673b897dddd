#pragma once
// The lines of a text file as people have them: UTF-8 with or without its
// byte-order mark, Latin-1 or Windows-1252; line ends LF or CRLF; "-" for
// standard input. Every line comes out in UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/importacao/leitura.h"

namespace qxcn {

enum class Codificacao { kUtf8, kLatin1, kCp1252 };

// The names of the encodings, separated by blanks: "utf8 latin1 cp1252".
std::string NomesCodificacao();
std::optional<Codificacao> CodificacaoDeNome(std::string_view nome);

using qx::LinhaTexto;

// The lines of the file, or of standard input for "-". A UTF-8 byte-order
// mark at the start is skipped; in a file read as Latin-1 or Windows-1252 it
// throws ErroUso (the file is UTF-8). A file that cannot be read throws
// FalhaLocal.
std::vector<LinhaTexto> LeLinhasTexto(const std::string& caminho, Codificacao codificacao);

}  // namespace qxcn
