#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "core/archive/ds_iof_archive.h"

class DS_AudioFile;
class DS_DocResManager;
class DS_SlideShow_Light;

// The signature a project file begins with.
inline constexpr char16_t kProjectSignature[] = u"ZRT v 5.0.0";

// Opens a project file and answers its scene root; the project's document becomes the calling
// thread's current one (the previous document is freed, so the caller must have released the
// scene that used it). Throws DS_Error, naming the file and the reason: CannotOpenFile when the
// file cannot be opened, FormatNotSupported for a ".vqe" file (any case), OutdatedFormat for a
// wrong signature, DamagedFile for a project whose records cannot be read to their end
// (truncated, or naming a class that no registry holds). A failure leaves no scene and no
// current document.
[[nodiscard]] std::unique_ptr<DS_SlideShow_Light> LoadProject(const std::filesystem::path& path);

// The same for a project held in memory (the program's own): its signature and header word are
// read and not compared.
[[nodiscard]] std::unique_ptr<DS_SlideShow_Light> LoadProjectFromMemory(
    std::span<const uint8_t> bytes);

// The record readers. Class names are read and not compared.
[[nodiscard]] std::unique_ptr<DS_SlideShow_Light> ReadSlideShow(DS_IOF_Archive& archive);
[[nodiscard]] std::unique_ptr<DS_AudioFile> ReadAudioFile(DS_IOF_Archive& archive);
// Reads the document's record into `document`.
void ReadDocResManager(DS_IOF_Archive& archive, DS_DocResManager& document);
