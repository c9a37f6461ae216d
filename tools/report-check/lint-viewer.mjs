// eslint's recommended rules over the report viewer's scripts, as the browser runs
// them: classic scripts sharing the global `viewer`. Exits 0 with no error, 1 with
// one, 77 when eslint is not installed (tools/install-deps installs it).
//   node lint-viewer.mjs VIEWER_DIR
import { resolve } from "node:path";

let ESLint, js, globals;
try {
    ({ ESLint } = await import("eslint"));
    js = (await import("@eslint/js")).default;
    globals = (await import("globals")).default;
} catch {
    console.log("eslint is not installed: run tools/install-deps");
    process.exit(77);
}
const dir = resolve(process.argv[2] ?? ".");
const eslint = new ESLint({
    cwd: dir,
    overrideConfigFile: true,
    overrideConfig: [js.configs.recommended, {
        languageOptions: { ecmaVersion: 2024, sourceType: "script", globals: { ...globals.browser, viewer: "readonly" } },
    }],
});
const results = await eslint.lintFiles(["*.js"]);
const errors = results.reduce((n, r) => n + r.errorCount, 0);
const formatter = await eslint.loadFormatter("stylish");
const text = await formatter.format(results);
if (text) console.log(text);
if (errors > 0) process.exit(1);
console.log(`report viewer: ${results.length} scripts lint clean`);
