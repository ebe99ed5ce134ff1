#include "render/deferred_drawing.h"

namespace sx {

void DeferredDrawing::Keep(Call call, std::span<const DevicePoint> points) {
  call.first = points_.size();
  call.count = points.size();
  points_.insert(points_.end(), points.begin(), points.end());
  calls_.push_back(call);
}

void DeferredDrawing::Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                               PenStyle style) {
  Keep({.kind = Kind::kPolyline, .pen = style, .color = color, .width = width}, points);
}

void DeferredDrawing::Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                              Fill fill) {
  Keep({.kind = Kind::kPolygon, .fill = fill, .color = color, .width = width}, points);
}

void DeferredDrawing::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                              std::int32_t bottom, std::int32_t width, RGB color, Fill fill) {
  const DevicePoint box[2] = {{left, top}, {right, bottom}};
  Keep({.kind = Kind::kEllipse, .fill = fill, .color = color, .width = width}, box);
}

void DeferredDrawing::Markers(std::span<const DevicePoint> centres, RGB color, std::int32_t r,
                              std::int32_t width, std::int32_t code) {
  Keep({.kind = Kind::kMarkers, .color = color, .width = width, .size = r, .code = code}, centres);
}

void DeferredDrawing::Replay(Surface& target) const {
  for (const Call& call : calls_) {
    const std::span<const DevicePoint> points(points_.data() + call.first, call.count);
    switch (call.kind) {
      case Kind::kPolyline:
        target.Polyline(points, call.width, call.color, call.pen);
        break;
      case Kind::kPolygon:
        target.Polygon(points, call.width, call.color, call.fill);
        break;
      case Kind::kEllipse:
        target.Ellipse(points[0].x, points[0].y, points[1].x, points[1].y, call.width, call.color,
                       call.fill);
        break;
      case Kind::kMarkers:
        target.Markers(points, call.color, call.size, call.width, call.code);
        break;
    }
  }
}

void DeferredDrawing::Release() {
  std::vector<Call>().swap(calls_);
  std::vector<DevicePoint>().swap(points_);
}

}  // namespace sx
