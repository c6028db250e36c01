#pragma once

// Everything a user of the chart engine needs.
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/custom_axis_panel.h"
#include "chart/list_error.h"
