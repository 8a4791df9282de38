#!/usr/bin/python3
"""Validates the files of a winget manifest against winget's published schemas
and writes what they hold as one JSON object, for the test to compare.

usage: validateWinget.py SCHEMA_FOLDER MANIFEST_FOLDER OUTPUT_JSON
Each *.yaml in MANIFEST_FOLDER is checked against the schema its ManifestType
names; the exit code is 1 when any file fails, with the faults on stderr.
"""
import json
import pathlib
import sys

import jsonschema
import yaml

SCHEMA_OF = {
    "version": "manifest.version.1.10.0.json",
    "installer": "manifest.installer.1.10.0.json",
    "defaultLocale": "manifest.defaultLocale.1.10.0.json",
}


def main(schema_folder, manifest_folder, output):
    documents, faults = {}, []
    for path in sorted(pathlib.Path(manifest_folder).glob("*.yaml")):
        document = yaml.safe_load(path.read_text(encoding="utf-8"))
        schema_name = SCHEMA_OF.get(document.get("ManifestType"))
        if schema_name is None:
            faults.append(f"{path.name}: no known ManifestType")
            continue
        schema = json.loads((pathlib.Path(schema_folder) / schema_name).read_text(encoding="utf-8"))
        validator = jsonschema.Draft7Validator(schema)
        faults += [f"{path.name}: {error.json_path}: {error.message}" for error in validator.iter_errors(document)]
        documents[document["ManifestType"]] = {"file": path.name, "content": document}
    pathlib.Path(output).write_text(json.dumps(documents, indent=2), encoding="utf-8")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults or len(documents) != len(SCHEMA_OF) else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
