#include "common/boxControls.h"

// A program without that manifest gets no context, and its boxes keep the
// controls its own manifest names.
BoxControlsScope::BoxControlsScope() {
  ACTCTXA manifest = {};
  manifest.cbSize = sizeof manifest;
  manifest.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  manifest.hModule = GetModuleHandleA(nullptr);
  manifest.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
  context_ = CreateActCtxA(&manifest);
  if (context_ != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context_, &cookie_) != FALSE;
}

BoxControlsScope::~BoxControlsScope() {
  if (active_) DeactivateActCtx(0, cookie_);
  if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
}
