#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// The value of a picture list: the image links of a sprite, particle appearance or texture
// source, with the current picture and a few settings that travel with them. Its stored record
// is read and written by the document layer.
struct DS_NamedFileLinkData {
  // Made from a list of image links: the name is the file name of the first link, if any.
  explicit DS_NamedFileLinkData(std::vector<DS_ImageFileLink> imageLinks = {});
  // Copies every field; the two undoable parameters are copied with fresh controls.
  DS_NamedFileLinkData(const DS_NamedFileLinkData& other) = default;
  DS_NamedFileLinkData(DS_NamedFileLinkData&& other) = default;
  // Copies every field; the two undoable parameters take their values silently and every
  // parameter keeps its observers.
  DS_NamedFileLinkData& operator=(const DS_NamedFileLinkData& other);
  // As the copy, but the name, the current name and the links are moved.
  DS_NamedFileLinkData& operator=(DS_NamedFileLinkData&& other);

  friend void swap(DS_NamedFileLinkData& a, DS_NamedFileLinkData& b) {
    DS_NamedFileLinkData temp(std::move(a));
    a = std::move(b);
    b = std::move(temp);
  }

  MediaParamTB<zkw_string> name;
  std::vector<DS_ImageFileLink> links;
  uint32_t valueA = 1;
  uint32_t valueB = 1;
  zkw_string currentName;
  int64_t currentId = 0;
  bool premultiplied = false;  // the pictures' alpha is already multiplied into their colours
  MediaParamT<D3DXVECTOR3> vectorParam;
  MediaParamT<int> modeParam{-1};
  uint32_t version = 5;  // the version this value writes

 private:
  // Copies the fields that assignment copies alike, whether it copies or moves.
  void TakeSettings(const DS_NamedFileLinkData& other);
};

// Two picture lists are equal when their links pairwise have the same name and id; the other
// fields are not compared.
template <>
struct MediaValueEqual<DS_NamedFileLinkData> {
  static bool Equal(const DS_NamedFileLinkData& a, const DS_NamedFileLinkData& b);
};

// The picture-list parameter.
class DS_NamedFileLink : public MediaParamT<DS_NamedFileLinkData> {
 public:
  DS_NamedFileLink() = default;
  using MediaParamT<DS_NamedFileLinkData>::MediaParamT;
};

// A Dword count, then that many image links (name and id each), which replace the vector's
// contents. A count that the remaining bytes cannot hold fails the stream and leaves the vector
// empty.
void ReadImageFileLinkVector(DS_IOF_Archive& archive, std::vector<DS_ImageFileLink>& links);

// The picture list's stored record (no class name in front): name, links, the version v (5 when
// written), then by version: valueA and valueB (v != 0), current name and id (v >= 2),
// premultiplied (v >= 3), the vector (v >= 4) and the mode (v >= 5). The stored version is not
// kept; fields the version lacks keep their values, except that a record below version 2 takes
// the current name and id from its first link (empty and 0 when it has none). Values are stored
// without notification.
void ReadNamedFileLinkData(DS_IOF_Archive& archive, DS_NamedFileLinkData& data);
// Writes every field in that order, the links through WriteImageLinks.
void WriteNamedFileLinkData(DS_IOF_Archive& archive, const DS_NamedFileLinkData& data);
