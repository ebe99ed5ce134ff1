#include "platform/image_output.h"

#include <QBuffer>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "core/atomic_file.h"
#include "core/device_int.h"
#include "platform/png_encoder.h"
#include "platform/qt_surface.h"

namespace sx {
namespace {

// The painter's limit for one side.
constexpr std::int32_t kMaxSide = 32767;
// About a gigabyte of pixels.
constexpr std::int64_t kMaxPngPixels = std::int64_t{1} << 28;

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string CannotWrite(const std::string& path, std::string_view reason) {
  return "Cannot write \"" + path + "\": " + std::string(reason);
}

std::string CannotWrite(const std::string& path, const QString& reason) {
  return CannotWrite(path, reason.toStdString());
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Paints on an active painter and closes it; false when the painter would not start.
bool Paint(QPaintDevice& device, float dpi, bool opaqueText,
           const std::function<void(Surface&)>& draw) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  {
    QtSurface surface(painter, dpi, dpi, opaqueText);
    if (draw) draw(surface);
  }
  return painter.end();
}

}  // namespace

std::optional<ImageFormat> ImageFormatForPath(std::string_view path) {
  // Paths are bytes: the extension is compared byte for byte, whatever the name's encoding.
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string suffix(path.substr(dot + 1));
  for (char& c : suffix) c = Lower(c);
  if (suffix == "png") return ImageFormat::kPng;
  if (suffix == "svg") return ImageFormat::kSvg;
  if (suffix == "pdf") return ImageFormat::kPdf;
  return std::nullopt;
}

std::string WriteImageFile(const std::string& path, ImageFormat format, const ImageOptions& options,
                           const std::function<void(Surface&)>& draw) {
  const std::int32_t w = options.width, h = options.height;
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
    return CannotWrite(path,
                       QStringLiteral("a picture of %1 x %2 pixels is not possible").arg(w).arg(h));
  }
  if (!std::isfinite(options.dpi) || options.dpi < 1.0f || options.dpi > 100000.0f) {
    return CannotWrite(path, QStringLiteral("a resolution of %1 dpi is not possible")
                                 .arg(static_cast<double>(options.dpi)));
  }
  if (format == ImageFormat::kPng && std::int64_t{w} * h > kMaxPngPixels) {
    return CannotWrite(path,
                       QStringLiteral("an image of %1 x %2 pixels is too large").arg(w).arg(h));
  }

  // A destination that will be refused is refused before the drawing.
  std::string refusal;
  if (!CanReplaceFile(path, options.openDataFile, &refusal)) return CannotWrite(path, refusal);
  // The picture is made in memory and written through the one checked path of every file, so
  // that a full disk or a failed write is never reported as a picture written.
  std::string png;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const QString title = ToQString(options.title);
  // Vector writers take whole dots per inch; the surface is told the same.
  const int wholeDpi = std::max(1, ToInt32(static_cast<double>(options.dpi) + 0.5));
  bool painted = false;

  switch (format) {
    case ImageFormat::kPng: {
      QImage image(w, h, QImage::Format_RGB32);
      if (image.isNull()) return CannotWrite(path, QStringLiteral("not enough memory"));
      image.fill(Qt::white);
      const int dotsPerMeter = ToInt32(static_cast<double>(options.dpi) / 0.0254 + 0.5);
      image.setDotsPerMeterX(dotsPerMeter);
      image.setDotsPerMeterY(dotsPerMeter);
      painted = Paint(image, options.dpi, options.opaqueText, draw);
      if (painted) {
        const PngPicture picture{reinterpret_cast<const std::uint32_t*>(image.constBits()),
                                 image.bytesPerLine() / 4, w, h, dotsPerMeter};
        if (!EncodePng(picture, png)) {
          return CannotWrite(path, QStringLiteral("the image could not be encoded"));
        }
      }
      break;
    }
    case ImageFormat::kSvg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(QSize(w, h));
      svg.setViewBox(QRect(0, 0, w, h));
      svg.setResolution(wholeDpi);
      svg.setTitle(title);
      painted = Paint(svg, static_cast<float>(wholeDpi), options.opaqueText, draw);
      break;
    }
    case ImageFormat::kPdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(wholeDpi);
      pdf.setTitle(title);
      pdf.setCreator(QStringLiteral("Sondrix"));
      const QSizeF inches(static_cast<double>(w) / wholeDpi, static_cast<double>(h) / wholeDpi);
      const QPageSize pageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch);
      pdf.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      painted = Paint(pdf, static_cast<float>(wholeDpi), options.opaqueText, draw);
      break;
    }
  }
  if (!painted) return CannotWrite(path, QStringLiteral("the picture could not be drawn"));
  const QByteArray& vector = buffer.data();
  const std::string_view bytes =
      format == ImageFormat::kPng
          ? std::string_view(png)
          : std::string_view(vector.constData(), static_cast<std::size_t>(vector.size()));
  std::string error;
  if (!WriteFileAtomically(path, bytes, options.openDataFile, &error)) {
    return CannotWrite(path, error);
  }
  return {};
}

}  // namespace sx
