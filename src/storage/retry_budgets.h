// The retry budget of every record-file operation.
#pragma once

#include "storage/retry.h"

namespace qx {

// Opens: fileNotFound comes back at once (the caller may then create the file).
inline constexpr uint32_t kAberturaImediatas =
    Causas({CFileException::fileNotFound, CFileException::badPath, CFileException::invalidFile,
            CFileException::directoryFull});
inline constexpr uint32_t kAberturaNaUltima = Causas(
    {CFileException::tooManyOpenFiles, CFileException::accessDenied,
     CFileException::sharingViolation, CFileException::lockViolation, CFileException::diskFull});
inline constexpr Orcamento kAbreQXarq{60, 10, kAberturaImediatas, kAberturaNaUltima};
inline constexpr Orcamento kAbreArquivo{30, 1, kAberturaImediatas, kAberturaNaUltima};
inline constexpr Orcamento kAbreQXArqEx{200, 10, kAberturaImediatas, kAberturaNaUltima};

// Writes, without pause between attempts.
inline constexpr uint32_t kGravacaoNaUltima =
    Causas({CFileException::accessDenied, CFileException::sharingViolation,
            CFileException::lockViolation, CFileException::diskFull});
inline constexpr Orcamento kGravaQXarq{
    30, 0,
    Causas({CFileException::badSeek, CFileException::hardIO, CFileException::fileNotFound,
            CFileException::badPath, CFileException::invalidFile}),
    kGravacaoNaUltima};
inline constexpr Orcamento kGravaQXArqEx{
    200, 0,
    Causas({CFileException::endOfFile, CFileException::badSeek, CFileException::hardIO,
            CFileException::fileNotFound, CFileException::badPath, CFileException::invalidFile}),
    kGravacaoNaUltima};
inline constexpr Orcamento kLeZeroArquivo{
    30, 0,
    Causas({CFileException::endOfFile, CFileException::badSeek, CFileException::hardIO,
            CFileException::invalidFile}),
    Causas({CFileException::accessDenied, CFileException::sharingViolation,
            CFileException::lockViolation})};

// Reads, positioning and closing: one attempt; causes not listed are ARQ_ERRO_GERAL.
inline constexpr Orcamento kLeQXarq{
    1, 0,
    Causas({CFileException::endOfFile, CFileException::badSeek, CFileException::hardIO,
            CFileException::accessDenied, CFileException::invalidFile,
            CFileException::sharingViolation, CFileException::lockViolation}),
    0};
inline constexpr Orcamento kLeQXArqEx{
    1, 0,
    Causas({CFileException::endOfFile, CFileException::badSeek, CFileException::hardIO,
            CFileException::fileNotFound, CFileException::badPath, CFileException::accessDenied,
            CFileException::invalidFile, CFileException::sharingViolation,
            CFileException::lockViolation, CFileException::diskFull}),
    0};
inline constexpr Orcamento kPosiciona = kLeQXarq;
inline constexpr Orcamento kFecha{
    1, 0,
    Causas({CFileException::hardIO, CFileException::accessDenied, CFileException::invalidFile,
            CFileException::sharingViolation, CFileException::lockViolation}),
    0};

}  // namespace qx
