#pragma once
// The style drawers of the profile modes: colour stripes, occurrence, lithology, boundaries,
// histogram lines and course run once per pass over all parameters, before the parameter loop;
// columns and outline run per "Do with next" group inside it; comments run once after it. Each
// is written once in strip coordinates (render/profile.h) and drawn in either orientation.
//
// `stage` is the plot pass stage (1 screen, 2 clipboard metafile, 3 metafile file, 4 printer);
// the resolution factors come from ctx.scale.

#include <cstdint>

#include "render/plot_context.h"
#include "render/profile.h"
#include "render/surface.h"

namespace sx {

// Over all parameters (each skips parameters whose style field is off).
void DrawColorStripes(Surface& surface, PlotContext& ctx, PlotStage stage,
                      ProfileOrientation orientation);
void DrawOccurrence(Surface& surface, PlotContext& ctx, PlotStage stage,
                    ProfileOrientation orientation);
void DrawLithology(Surface& surface, PlotContext& ctx, PlotStage stage,
                   ProfileOrientation orientation);
void DrawBoundaries(Surface& surface, PlotContext& ctx, PlotStage stage,
                    ProfileOrientation orientation);
void DrawHistogramLines(Surface& surface, PlotContext& ctx, PlotStage stage,
                        ProfileOrientation orientation);
void DrawCourse(Surface& surface, PlotContext& ctx, PlotStage stage,
                ProfileOrientation orientation);

// Per group: the group headed by `head` is the columns head .. head + d (GroupExtent), all drawn
// on the head's strip; member modes as MemberMode.
void DrawColumns(Surface& surface, PlotContext& ctx, PlotStage stage,
                 ProfileOrientation orientation, std::int32_t head, std::int32_t d);
void DrawOutline(Surface& surface, PlotContext& ctx, PlotStage stage,
                 ProfileOrientation orientation, std::int32_t head, std::int32_t d);

// After the parameter loop.
void DrawComments(Surface& surface, PlotContext& ctx, PlotStage stage,
                  ProfileOrientation orientation);

}  // namespace sx
