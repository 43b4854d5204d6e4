#pragma once

class DS_2D_Light;
class ZKW_RenderObjData;
class ZKW_SmartTiming;

// What a slide updates and draws every frame: the interface through which slides, renderers and
// groups drive any drawable object. Run-time objects are shared through DS_SafePtr by their slide
// (and by groups) and used on the main thread only.
//
// Per frame: the scene root calls AdvanceTime with the slide-local time, which steps the timeline,
// advances the object's local time and calls Update; the renderer then calls Render (last object
// first). At slide start BindTiming runs on every object once all of them exist.
class ZKW_RenderObj {
 public:
  virtual ~ZKW_RenderObj() = default;
  ZKW_RenderObj(const ZKW_RenderObj&) = delete;
  ZKW_RenderObj& operator=(const ZKW_RenderObj&) = delete;

  // Draws through the renderer's draw operations. Nothing in the base.
  virtual void Draw(DS_2D_Light& renderer);
  // When NeedsPictureBelow is non-zero, first has the renderer switch its target (cleared) so
  // that the picture drawn so far can be read, counting `readerCount` down; then Draw. Kinds that
  // switch with their own clear value override it.
  virtual void Render(DS_2D_Light& renderer, int* readerCount);
  // How many times the object switches the renderer's target while drawn, reading the picture
  // below it; 0 in the base. An inactive object answers 0. Groups answer the sum over members.
  virtual int NeedsPictureBelow() const { return 0; }
  // Whether the renderer must set the picture below aside for it (brushes); false in the base.
  virtual bool NeedsTargetCopy() const { return false; }
  // Whether the object keeps the target copy it was given (particle systems); false in the base.
  virtual bool KeepsTargetCopy() const { return false; }
  // Stores the active flag; only active objects are drawn. Groups pass it on, sounds stop.
  virtual void SetActive(bool active) { active_ = active; }
  // The slide restarts: only while the restart flag is set, the current timeline is reset and
  // the description restarts. The object's clock is left alone, so the next AdvanceTime measures
  // its step from the previous last time.
  virtual void OnSlideRestart();
  // A point the object aims at (particle systems and brushes store it). Nothing in the base.
  virtual void SetTargetPoint(float /*x*/, float /*y*/, float /*z*/) {}
  // Clock back to 0, current timeline reset, then the description restarts.
  virtual void Restart();
  // The timing part of the object's data, or null without data.
  virtual ZKW_SmartTiming* GetSmartTiming() const;
  // The data's TestFlag; false without data.
  virtual bool TestDataFlag(int flag) const;
  // The per-frame animation at the object's local time.
  virtual void Update(float localTime) = 0;

  // t is the time since the slide started: the step since the last call (kept in the timing part)
  // advances the object's local time, scaled by the timeline value when the time mode is 2 and
  // the flag kUnscaledLocalTime is clear; the current timeline is stepped first; then Update.
  // An object without data has no clock of its own: its local time is t.
  void AdvanceTime(float t);
  // The current timeline resolves its references (a dependent timeline finds its master).
  void BindTiming();
  // The device was lost: the data's OnLostDevice.
  void ForwardLostDevice();

  bool IsActive() const { return active_; }
  ZKW_RenderObjData* Data() const { return data_; }

 protected:
  // `data` is the object's data; not owned through this field.
  explicit ZKW_RenderObj(ZKW_RenderObjData* data) : data_(data) {}

 private:
  bool active_ = true;
  ZKW_RenderObjData* data_;
};
