// The lint of the project's JavaScript. The viewer's files run in the page as one script, in file
// order, and share the namespace V (made by the first of them); the browser tests are node modules
// whose page callbacks run in the browser.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['viewer/js/*.js', 'viewer/play/*.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, V: 'readonly' },
    },
    rules: { strict: ['error', 'global'] },
  },
  {
    // The file that makes V.
    files: ['viewer/js/10-data.js'],
    languageOptions: { globals: { V: 'off' } },
  },
  {
    files: ['tests/browser/*.js', '*.config.js'],
    languageOptions: { globals: { ...globals.node, ...globals.browser } },
  },
  {
    rules: {
      // The formatter keeps code within this; comments and long texts are kept there by hand.
      'max-len': ['error', { code: 120, ignoreUrls: true }],
      eqeqeq: ['error', 'always', { null: 'ignore' }],
      'no-var': 'error',
      'prefer-const': 'error',
    },
  },
];
