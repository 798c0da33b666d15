#pragma once

#include "pagejobrunner.h"
#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <atomic>

// The one answer to "does this PDF open, with this password, and if not,
// why": the file is looked at without being parsed, then a render worker
// loads it, within the load time limit. Nothing of the file is read in this
// process beyond its first kilobyte. stop ends the check at once; the answer
// then means nothing. Runs events of the calling thread meanwhile.
PdfOpenProblem checkPdfOpens(const PdfInput &input, const std::atomic_bool &stop, const RenderTimeouts &timeouts = {});

// The reason behind a renderer's answer to a load; None when it has pages.
PdfOpenProblem loadProblem(const PdfInput &input, const RenderDocumentInfo &info);
