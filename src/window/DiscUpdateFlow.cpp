#include "window/DiscUpdateFlow.h"

#include <QDialog>

#include "catalog/CatalogError.h"
#include "platform/MessageService.h"
#include "scan/DiscUpdate.h"
#include "scan/ScanTexts.h"
#include "scan/frmDifferences.h"
#include "window/AppContext.h"
#include "window/BusyCursor.h"
#include "window/CatalogueFailureTexts.h"

namespace vt {

Connection& scanConnection(AppContext& context) {
    Connection& connection = context.cnScan;
    if (connection.State() == 0) {
        openCatalogue(connection, context.cnCatalog.connectionString());
        // The large write of a scan is copied into the catalogue file later, in idle time, by the main
        // connection, rather than while the user waits for the end of the scan. (A server has no such file.)
        if (!connection.server()) connection.Execute(QStringLiteral("PRAGMA wal_autocheckpoint = 0;"));
    }
    return connection;
}

bool updateDiscFromMedium(AppContext& context, QWidget* owner, const QString& root, const QString& name,
                          ScanProgress& progress, const std::function<void()>& walkEnded) {
    MessageService& messages = context.platform.messages;
    bool walking = true;
    const auto endWalk = [&] {
        if (walking) walkEnded();
        walking = false;
    };
    bool updated = false;
    try {
        DiscUpdate update(scanConnection(context), context.platform.drives, context.platform.fileSystem);
        DiscUpdate::ReadOutcome outcome;
        {
            BusyCursor busy;
            outcome = update.read(root, name, progress);
        }
        endWalk();
        switch (outcome) {
            case DiscUpdate::ReadOutcome::NoDisc:
            case DiscUpdate::ReadOutcome::UnknownDisc:
                messages.information(owner, ScanTexts::noDisc());
                break;
            case DiscUpdate::ReadOutcome::DiscGone:
                messages.information(owner, ScanTexts::discGone());
                break;
            case DiscUpdate::ReadOutcome::Cancelled:
                messages.information(owner, ScanTexts::cancelled());
                break;
            case DiscUpdate::ReadOutcome::Read:
                if (update.differences().none()) {
                    messages.information(owner, ScanTexts::noDifferences(update.name()));
                } else if (frmDifferences(update.name(), update.differences(), owner).exec() ==
                           QDialog::Accepted) {
                    updated = update.apply();
                    messages.information(owner,
                                         updated ? ScanTexts::updated(update.name()) : ScanTexts::discGone());
                }
                break;
        }
    } catch (const CatalogError& error) {
        endWalk();
        messages.information(owner, discWriteFailure(error));
    }
    return updated;
}

}  // namespace vt
