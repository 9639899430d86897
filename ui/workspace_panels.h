#pragma once

#include <QPushButton>

#include "tinted_panel.h"

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The panels of the workspace's centre. Each fills the centre; the workspace shows one at a
// time and connects the panel's button to the workflow.
struct ActionPanel {
    TintedPanel* panel;
    QPushButton* button;
};

// Nothing to analyse yet: a hint to choose or drop folders.
TintedPanel* makeDropGuidePanel(QWidget* parent);
// Both folders chosen: the start button, the window's default button.
ActionPanel makeReadyPanel(QWidget* parent);
// An analysis runs: a spinner, how far the analysis has come, and the cancel button.
ActionPanel makeScanningPanel(const app::AppState& state, QWidget* parent);
// The analysis found nothing to merge: the re-analyse button.
ActionPanel makeInSyncPanel(QWidget* parent);
// The frame around the difference list.
TintedPanel* makeDifferencesPanel(QWidget* list, QWidget* parent);

}  // namespace sorrelix::ui
