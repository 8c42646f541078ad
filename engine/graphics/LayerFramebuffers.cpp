#include "graphics/LayerFramebuffers.h"

#include "core/Window.h"

namespace Varn::Graphics
{

LayerFramebuffer* LayerFramebuffers::Get(int32_t layer)
{
    for (LayerFramebufferRecord& record : records)
    {
        if (record.layer == layer)
        {
            record.used = true;
            return record.framebuffer.get();
        }
    }
    LayerFramebufferRecord record;
    record.used = true;
    record.layer = layer;
    record.framebuffer =
        std::make_unique<LayerFramebuffer>(resources, window.viewportWidth, window.viewportHeight);
    records.push_back(std::move(record));
    return records.back().framebuffer.get();
}

const LayerFramebuffer* LayerFramebuffers::Find(int32_t layer) const
{
    for (const LayerFramebufferRecord& record : records)
    {
        if (record.layer == layer)
        {
            return record.framebuffer.get();
        }
    }
    return nullptr;
}

void LayerFramebuffers::Resize(int width, int height)
{
    for (LayerFramebufferRecord& record : records)
    {
        record.framebuffer->Resize(width, height);
    }
}

} // namespace Varn::Graphics
