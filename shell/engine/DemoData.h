#pragma once

class AppState;

// Sample data for newcomers: a dozen companies and persons with addresses,
// communication entries and commercial data, a catalogue of twenty articles and
// three projects with documents of every kind, their invoices open, part-paid and
// paid. Everything is written through the stores the windows use.
namespace DemoData {

// True when the data set holds no contact, article or project yet.
bool isEmpty(AppState &state);
// Fills an empty data set; returns false (and writes nothing) when it is not empty.
bool fill(AppState &state);

} // namespace DemoData
