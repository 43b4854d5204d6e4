#pragma once

class DS_2D_Light;
class DS_DocResManager;
class DS_FileLink3;
class DS_IOF_Archive;
class RenderContext;

// What the scene-object bases of this library need of the layers built on top of it: the slide
// renderer, the render context and the document. Those libraries install their entries from their
// class lists at start-up, before any scene object exists; this library only calls them.
struct SceneServices {
  // The renderer's SwitchTarget: counts the reader count down and switches the ping-pong target
  // so that the picture drawn so far can be read; `clear` asks for the new target to be cleared.
  void (*switchTarget)(DS_2D_Light& renderer, int* readerCount, bool clear) = nullptr;
  // Width and height of the render context's current target.
  void (*targetSize)(const RenderContext& context, float& width, float& height) = nullptr;
  // Writes the document's complete record (its Save).
  void (*saveDocument)(const DS_DocResManager& document, DS_IOF_Archive& archive) = nullptr;
  // The document's registration of an image link being written (its pictures, delays and
  // frames go into the document's record).
  void (*registerSavedLink)(DS_DocResManager& document, const DS_FileLink3& link) = nullptr;
  // The document's note of a named link being written (its stored records go into the
  // document's record).
  void (*stageLinkRecords)(DS_DocResManager& document, const DS_FileLink3& link) = nullptr;
};

// The process-wide entries; read-only once start-up is over.
SceneServices& GetSceneServices();

// Calls an entry, throwing std::logic_error when the library that provides it has not installed
// it (a start-up mistake, not a condition of the data).
void SwitchRendererTarget(DS_2D_Light& renderer, int* readerCount, bool clear);
void SaveDocumentRecord(const DS_DocResManager& document, DS_IOF_Archive& archive);
// The same for the link writers: they act on the calling thread's current document and do
// nothing when the thread has none.
void RegisterSavedLinkWithDocument(const DS_FileLink3& link);
void StageLinkRecordsForSave(const DS_FileLink3& link);

// The size of the calling thread's current render target; 0 by 0 when the thread has no render
// context.
void CurrentTargetSize(float& width, float& height);
