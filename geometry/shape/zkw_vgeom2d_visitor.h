#pragma once

class ZKW_VGeom2D_BSpline;
class ZKW_VGeom2D_Polyline;
class ZKW_VGeom2D_Loop;
class ZKW_VGeom2D_CubicSpline;
class ZKW_VGeom2D_Stripe;
class ZKW_VGeom2D_Rect;
class ZKW_VGeom2D_Sector;
class ZKW_VGeom2D_Spiral;
class ZKW_VGeom2D_Sphere;
class ZKW_VGeom2D_Freeform;
class ZKW_VGeom2D_Text;

// One operation per registered shape kind, called by the kind's Accept; the line segment calls
// the polyline's. Every operation answers false unless a visitor replaces it.
class ZKW_VGeom2D_Visitor {
 public:
  virtual ~ZKW_VGeom2D_Visitor() = default;

  virtual bool VisitBSpline(ZKW_VGeom2D_BSpline&) { return false; }
  virtual bool VisitPolyline(ZKW_VGeom2D_Polyline&) { return false; }
  virtual bool VisitLoop(ZKW_VGeom2D_Loop&) { return false; }
  virtual bool VisitCubicSpline(ZKW_VGeom2D_CubicSpline&) { return false; }
  virtual bool VisitStripe(ZKW_VGeom2D_Stripe&) { return false; }
  virtual bool VisitRect(ZKW_VGeom2D_Rect&) { return false; }
  virtual bool VisitSector(ZKW_VGeom2D_Sector&) { return false; }
  virtual bool VisitSpiral(ZKW_VGeom2D_Spiral&) { return false; }
  virtual bool VisitSphere(ZKW_VGeom2D_Sphere&) { return false; }
  virtual bool VisitFreeform(ZKW_VGeom2D_Freeform&) { return false; }
  virtual bool VisitText(ZKW_VGeom2D_Text&) { return false; }
};
