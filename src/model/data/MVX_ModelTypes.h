#pragma once

/// Lets the mapping layer store the model's optional object lists; runs once, from the
/// constructor of every model class, before the layer first reads such a property.
void MVX_registerModelTypes();
