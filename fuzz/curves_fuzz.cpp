// Reads a time-window controller, an envelope graph and B-spline control points from arbitrary
// bytes and evaluates them the way a scene does: the controller over a run of clock times, the
// graph over a sweep, the spline's samples through a cursor and its positions through the
// back-and-forth path cursor, with lengths and times taken from the data. The record headers are
// written here (the first byte picks the graph class), so that the bytes reach the bodies. Then
// the same bytes give the points of a closed loop, an offset polyline, an offset B-spline and a
// straight-skeleton offsetter, which are built and traced with distances, lengths and offsets
// from the data. Last, the bytes are the body of a shape record (the first byte also picks the
// shape class and its record version), and every query of the shape it reads runs with
// arguments from the data. The same happens to an emitter figure and a gradient record (their
// classes picked by the first byte too), with emitted points and lattice cells, gradient values
// and the holders' figure installs taken with arguments from the data. Any hang (the target runs
// with a timeout, which also catches a layering that never ends), over-read or undefined behaviour
// fails.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/chrono/zkw_chrono_ctrl.h"
#include "core/graph/vgraph_registry.h"
#include "core/param/owned_control_list.h"
#include "core/registry/core_class_list.h"
#include "geometry/curve/zkw_smart_offset_bspline.h"
#include "geometry/curve/zkw_smart_offset_polyline.h"
#include "geometry/curve/zkw_smart_poly_loop.h"
#include "geometry/figure/zkw_custom_figure.h"
#include "geometry/figure/zkw_vfigure_bspline.h"
#include "geometry/geometry_class_list.h"
#include "geometry/gradient/zkw_custom_gradient.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "geometry/offset/zkw_stripe_tracer.h"
#include "geometry/path/bspline_point_io.h"
#include "geometry/path/spline_path.h"
#include "geometry/shape/zkw_vgeom2d_curve.h"
#include "geometry/shape/zkw_vgeom2d_sector.h"
#include "geometry/shape/zkw_vgeom2d_stripe.h"

namespace {

constexpr const char16_t* kGraphClasses[] = {u"ZKW_VGraph_Const", u"ZKW_VGraph_Line",
                                             u"ZKW_VGraph_QBezier", u"ZKW_VGraph_GradientLine",
                                             u"ZKW_VGraph_StraightLine"};

constexpr const char16_t* kShapeClasses[] = {
    u"ZKW_VGeom2D_BSpline",     u"ZKW_VGeom2D_Polyline",    u"ZKW_VGeom2D_Loop",
    u"ZKW_VGeom2D_CubicSpline", u"ZKW_VGeom2D_LineSegment", u"ZKW_VGeom2D_Stripe",
    u"ZKW_VGeom2D_Rect",        u"ZKW_VGeom2D_Sector",      u"ZKW_VGeom2D_Spiral",
    u"ZKW_VGeom2D_Sphere",      u"ZKW_VGeom2D_Freeform",    u"ZKW_VGeom2D_Text"};
constexpr const char* kCurveNames[] = {"ZKW_VGeom2D_BSpline",     "ZKW_VGeom2D_Polyline",
                                       "ZKW_VGeom2D_Loop",        "ZKW_VGeom2D_CubicSpline",
                                       "ZKW_VGeom2D_LineSegment", "ZKW_VGeom2D_Rect"};

constexpr const char16_t* kFigureClasses[] = {u"ZKW_VFigure_Rect", u"ZKW_VFigure_Sector",
                                              u"ZKW_VFigure_BSpline"};
constexpr const char16_t* kGradientClasses[] = {u"ZKW_VGradient_Linear", u"ZKW_VGradient_Circular"};

// An exactly sized heap copy of `before` followed by the data, read through the player's stream,
// so that any read past the end is caught.
class Source {
 public:
  Source(std::vector<uint8_t> bytes, const uint8_t* data, size_t size) : bytes_(std::move(bytes)) {
    bytes_.insert(bytes_.end(), data, data + size);
    bytes_.shrink_to_fit();
    buffer_.SetMemory(bytes_.data(), bytes_.size());
    archive_ =
        std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer_));
  }
  DS_IOF_Archive& archive() { return *archive_; }

 private:
  std::vector<uint8_t> bytes_;
  ResourceBuffer buffer_;
  std::unique_ptr<DS_IOF_Archive> archive_;
};

// Record headers: each class name with `version`.
std::vector<uint8_t> Headers(std::initializer_list<const char16_t*> names, uint32_t version = 1) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  for (const char16_t* name : names) {
    archive.io().WriteWideString(name);
    archive.io().WriteDword(version);
  }
  return w.TakeBytes();
}

float NextFloat(DS_IOF_Virtual& io) {
  float v = 0.0f;
  io.ReadFloat(v);
  return v;
}

// Walks every vertex list of the offsetter's tracer and traces a few (length, offset) pairs.
void Trace(const ZKW_CurveOffsetMaker& offsetter, DS_IOF_Virtual& io) {
  const DS_SafePtr<ZKW_StripeTracer> tracer = offsetter.CreateTracer();
  if (!tracer) return;
  D3DXVECTOR3 point, direction;
  for (auto next : {&ZKW_StripeTracer::Next, &ZKW_StripeTracer::NextOuterRight,
                    &ZKW_StripeTracer::NextOuterLeft}) {
    unsigned state = 0;
    while (((*tracer).*next)(&state, &point)) {
    }
  }
  for (int i = 0; i < 4; ++i) {
    const float length = NextFloat(io);
    tracer->Trace(length, NextFloat(io), &point, &direction);
  }
}

// Appends `count` points read as (x, y) pairs to the curve, rebuilds it and queries it the way
// shapes do; `distance` builds its offsetter.
void ExerciseSmartCurve(ZKW_Curve& curve, int count, float distance, DS_IOF_Virtual& io) {
  for (int i = 0; i < count; ++i) {
    DX_SmartPnt point;
    const float x = NextFloat(io);
    point.SetValueSilently({x, NextFloat(io), 0.0f});
    curve.AppendPoint(point, nullptr);
  }
  curve.Rebuild();
  if (ZKW_CurveOffsetMaker* offsetter = curve.GetOffsetMaker()) {
    offsetter->Build(distance);
    Trace(*offsetter, io);
  }
  D3DXVECTOR3 point, direction;
  curve.TotalLength();
  const float length = NextFloat(io);
  curve.PointAtLength(length, NextFloat(io), &point, &direction);
  curve.DirectionAtLength(length, &direction);
  curve.ClosestPoint(point, &point, &direction);
  curve.ForEachSegment([](const D3DXVECTOR3&, const D3DXVECTOR3&) {});
  curve.ForEachLength([](const float&, const float&) {});
}

// Runs every query of a shape, with points, parameters and directions from `io`.
void ExerciseShape(ZKW_VGeom2D& shape, DS_IOF_Virtual& io) {
  const auto vector = [&io] {
    const float x = NextFloat(io);
    const float y = NextFloat(io);
    return D3DXVECTOR3(x, y, NextFloat(io));
  };
  if (auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(&shape)) {
    if (ZKW_CurveOffsetMaker* offsetter = curve->GetCurve().GetOffsetMaker())
      offsetter->Build(NextFloat(io));
  }
  D3DXVECTOR3 point, direction, tangent, normal, low, high;
  float uv[2] = {NextFloat(io), NextFloat(io)};
  shape.PointAt(uv, &point, &direction);
  shape.PointAtUV(NextFloat(io), NextFloat(io), &point, &direction);
  shape.RandomPoint(&point, uv);
  shape.RandomDirection(&direction);
  shape.GetCenter(&point);
  shape.NormalAt(&normal, vector());
  shape.NormalAtParam(vector(), uv, &tangent, &normal);
  shape.TangentAt(vector(), uv, &tangent);
  shape.Contains(vector());
  const D3DXVECTOR3 from = vector();
  shape.ClipRay(from, vector(), &point);
  shape.GetBounds(&low, &high);
  shape.IsClosed();
  shape.IsClosedV();
  shape.IsParametric();
  shape.GetSpanAcross(NextFloat(io));
  shape.GetSpanAlong(NextFloat(io));
  {
    OwnedControlList list;
    shape.AttachParamCallbacks(list, [] {});
  }
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  shape.Save(out);

  if (auto* sector = dynamic_cast<ZKW_VGeom2D_Sector*>(&shape)) sector->RandomAreaPoint(&point);
  if (auto* stripe = dynamic_cast<ZKW_VGeom2D_Stripe*>(&shape)) stripe->RebuildOffsetter();
  if (auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(&shape)) {
    curve->Length();
    const float length = NextFloat(io);
    curve->PointAtLength(length, NextFloat(io), &point, &direction);
    uint8_t pick = 0;
    io.ReadByte(pick);
    const DS_SafePtr<ZKW_VGeom2D_Curve> converted = curve->ConvertTo(kCurveNames[pick % 6]);
    if (auto* nodes = dynamic_cast<ZKW_VGeom2D_NodeDefined*>(curve)) {
      if (const DX_BSplinePnt* node = nodes->NodeAt(0)) nodes->AppendNode(node);
    }
  }

  // A copy answers on its own, also after becoming a segment.
  std::unique_ptr<ZKW_VGeom2D> clone = shape.Clone();
  const D3DXVECTOR3 a = vector();
  const D3DXVECTOR3 b = vector();
  clone->InitAsSegment(a.x, a.y, a.z, b.x, b.y, b.z);
  clone->PointAt(uv, &point, &direction);
  clone->GetCenter(&point);
}

uint32_t NextUInt(DS_IOF_Virtual& io) {
  uint32_t v = 0;
  io.ReadUInt32(v);
  return v;
}

// Emits points and directions, lattice cells and random points of a figure, with the band's
// half-width, the lattice and a few points from `io`; then installs it in a holder and has the
// holder make an old emitter's sector from the data.
void ExerciseFigure(std::unique_ptr<ZKW_VFigure> figure, DS_IOF_Virtual& io) {
  if (auto* band = dynamic_cast<ZKW_VFigure_BSpline*>(figure.get()))
    band->halfWidth.SetValue(NextUInt(io));
  D3DXVECTOR3 point, direction;
  for (bool spin : {false, true}) {
    point = {NextFloat(io), NextFloat(io), NextFloat(io)};
    figure->EmitPointAndDirection(&point, &direction, spin);
    figure->AddRandomPoint(&point);
  }
  for (int i = 0; i < 3; ++i) {
    const uint32_t index = NextUInt(io);
    const uint32_t rows = NextUInt(io);
    figure->GridPoint(&point, index, rows, NextUInt(io));
  }
  figure->UnusedPairQuery(NextFloat(io), NextFloat(io));
  figure->UnusedQuery(NextFloat(io));
  figure->UnusedObject();
  figure->UnusedSet(NextFloat(io));
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  figure->Save(out);

  ZKW_CustomFigure holder;
  const DS_SafePtr<ZKW_VFigure> handle(std::move(figure));
  holder.SetFigure(handle, nullptr);
  holder.SetFigure(handle, nullptr);
  const uint32_t direction0 = NextUInt(io);
  const uint32_t spread = NextUInt(io);
  holder.MakeSectorFigure(direction0, spread, NextUInt(io));
  holder.Figure()->EmitPointAndDirection(&point, &direction, true);
  holder.Figure()->GridPoint(&point, NextUInt(io), NextUInt(io), NextUInt(io));
}

// Asks a gradient for its value at points from `io` and stores it; a default holder does the
// same with its own gradient.
void ExerciseGradient(const ZKW_VGradient& gradient, DS_IOF_Virtual& io) {
  const ZKW_CustomGradient holder;
  for (int i = 0; i < 4; ++i) {
    const float x = NextFloat(io);
    const float y = NextFloat(io);
    const D3DXVECTOR3 point(x, y, NextFloat(io));
    gradient.ValueAt(&point);
    holder.Gradient()->ValueAt(&point);
  }
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  gradient.Save(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered =
      (RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses}), true);
  (void)registered;
  if (size == 0) return 0;
  const char16_t* graphClass = kGraphClasses[data[0] % 5];
  const char16_t* shapeClass = kShapeClasses[data[0] % 12];
  const uint32_t shapeVersion = data[0] / 12 % 3;
  const char16_t* figureClass = kFigureClasses[data[0] % 3];
  const char16_t* gradientClass = kGradientClasses[data[0] / 3 % 2];
  ++data, --size;

  // The same bytes as numbers: times, steps and offsets.
  Source numbers({}, data, size);
  DS_IOF_Virtual& io = numbers.archive().io();

  // A controller whose enabled flag and lengths are the first 12 bytes, then its envelope.
  const size_t head = size < 12 ? size : 12;
  std::vector<uint8_t> chronoBytes = Headers({u"ZKW_Chrono_Default"});
  chronoBytes.insert(chronoBytes.end(), data, data + head);
  const std::vector<uint8_t> envelopeHeader = Headers({graphClass});
  chronoBytes.insert(chronoBytes.end(), envelopeHeader.begin(), envelopeHeader.end());
  Source chronoSource(std::move(chronoBytes), data + head, size - head);
  if (std::unique_ptr<ZKW_ChronoCtrl> chrono = ReadChronoCtrl(chronoSource.archive())) {
    for (int i = 0; i < 8; ++i)
      chrono->GetValue(NextFloat(io));
  }

  Source graphSource(Headers({graphClass}), data, size);
  if (std::unique_ptr<ZKW_VGraph> graph = ReadVGraph(graphSource.archive())) {
    unsigned cursor = 1;
    for (int i = 0; i <= 16; ++i)
      graph->ValueAt(static_cast<float>(i) / 16.0f, &cursor);
    graph->ValueAt(NextFloat(io), &cursor);
    graph->MaxValue();
  }

  SplinePath path;
  Source pointSource({}, data, size);
  ReadBSplinePointVector(pointSource.archive(), path.RawValue());
  int32_t steps = 20;
  io.ReadInt32(steps);
  path.splineSamplesPerSegment = steps % 64;
  path.Rebuild();
  CurveCursor cursor = path.Cursor();
  D3DXVECTOR3 point, direction;
  for (int i = 0; i < 8; ++i) {
    const float step = NextFloat(io);
    cursor.Advance(step, &point, &direction);
    cursor.AdvanceOffset(step, NextFloat(io), &point, &direction);
    path.PointAtLength(step, 1.0f, &point, &direction);
    path.DirectionAtLength(step, &direction);
    path.ClosestPoint(point, &point, &direction);
  }

  int32_t smoothing = 0;
  io.ReadInt32(smoothing);
  path.smoothing.SetValue(smoothing);
  path.ZKW_PathCtrlPoints::Rebuild();
  for (int i = 0; i < 8; ++i) {
    path.cursor.distance += NextFloat(io);
    path.StepAlongPoints(&point);
  }

  // The offset curves from the start of the data: a point count (bounded, fewer for the B-spline,
  // which samples each segment 100 times), a build distance, then points and queries.
  Source curveSource({}, data, size);
  DS_IOF_Virtual& curveIo = curveSource.archive().io();
  uint8_t countByte = 0;
  curveIo.ReadByte(countByte);
  const int count = countByte % 49;
  const float distance = NextFloat(curveIo);
  ZKW_SmartPolyLoop loop;
  ExerciseSmartCurve(loop, count, distance, curveIo);
  ZKW_SmartOffsetPolyline polyline;
  ExerciseSmartCurve(polyline, count, distance, curveIo);
  ZKW_SmartOffsetBSpline spline;
  ExerciseSmartCurve(spline, count % 7, distance, curveIo);

  // The skeleton over the polyline's points, read at distances from the data.
  ZKW_StraightSkeletonOffset skeleton;
  skeleton.SetPoints(static_cast<unsigned>(polyline.GetCount()),
                     [&polyline](unsigned i) -> const D3DXVECTOR3& {
                       return polyline.ControlPointAt(static_cast<int>(i))->Value();
                     });
  skeleton.Build(distance);
  std::vector<D3DXVECTOR3> offsets;
  for (int i = 0; i < polyline.GetCount(); ++i) {
    const float at = NextFloat(curveIo);
    skeleton.OffsetPoints(true, i, at, &offsets);
    skeleton.OffsetPoints(false, i, at, &offsets);
  }

  // A shape record by class name: its header here, its body from the data.
  Source shapeSource(Headers({shapeClass}, shapeVersion), data, size);
  if (std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(shapeSource.archive()))
    ExerciseShape(*shape, io);

  // A figure and a gradient record by class name, their bodies from the data; their arguments
  // from the start of the data again.
  Source figureSource(Headers({figureClass}), data, size);
  Source figureArguments({}, data, size);
  if (std::unique_ptr<ZKW_VFigure> figure = ReadVFigure(figureSource.archive()))
    ExerciseFigure(std::move(figure), figureArguments.archive().io());
  Source gradientSource(Headers({gradientClass}), data, size);
  if (std::unique_ptr<ZKW_VGradient> gradient = ReadVGradient(gradientSource.archive()))
    ExerciseGradient(*gradient, figureArguments.archive().io());
  return 0;
}
