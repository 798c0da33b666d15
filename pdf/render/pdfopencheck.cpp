#include "pdfopencheck.h"

PdfOpenProblem loadProblem(const PdfInput &input, const RenderDocumentInfo &info)
{
    if (info.pageCount > 0)
        return {};
    PdfRefusal refusal = PdfRefusal::Other;
    if (info.loadError == QPdfDocument::Error::IncorrectPassword)
        refusal = PdfRefusal::Password;
    else if (info.loadError == QPdfDocument::Error::UnsupportedSecurityScheme)
        refusal = PdfRefusal::SecurityScheme;
    return explainFailedLoad(input.path, input.password, refusal);
}

PdfOpenProblem checkPdfOpens(const PdfInput &input, const std::atomic_bool &stop, const RenderTimeouts &timeouts)
{
    PdfOpenProblem problem = fileProblem(input.path);
    if (problem.failed() || stop)
        return problem;
    PageJobRunner runner(input.path, timeouts);
    runner.setPassword(input.password);
    QObject::connect(&runner, &PageJobRunner::opened, &runner, [&](const RenderDocumentInfo &info) {
        problem = loadProblem(input, info);
        runner.finish();
    });
    runner.start();
    runner.exec(stop);
    return problem;
}
