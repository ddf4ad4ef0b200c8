#pragma once
// The grid's tools: each made from its row of the tool table the first time it is asked
// for, and kept for the grid's life with its state.

#include "core/base/geometry.h"
#include "core/base/toolid.h"

#include <array>
#include <memory>

class TGridTool;
class TPatternGrid;

class TGridToolBox {
public:
    explicit TGridToolBox(TPatternGrid &grid);
    ~TGridToolBox();
    TGridToolBox(const TGridToolBox &) = delete;
    TGridToolBox &operator=(const TGridToolBox &) = delete;

    // Null for a tool that is not built.
    TGridTool *Tool(TToolId id);
    // The tool of id, which must be built, as its class.
    template <class T> T &As(TToolId id) { return static_cast<T &>(*Tool(id)); }

    // The cell of the last press, or of the last move over a picture cell.
    TPoint DownCell { -1, -1 };

private:
    TPatternGrid &m_grid;
    std::array<std::unique_ptr<TGridTool>, MaxToolId + 1> m_tools;
};
